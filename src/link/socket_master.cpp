#include "link/socket_master.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QVariant>
#include <utility>

namespace kx {

namespace {

constexpr std::pair<int, const char*> kErrorTexts[] = {
    {10004, "Interrupted function call."},
    {10013, "Permission denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Resource temporarily unavailable."},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on nonsocket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Network dropped connection on reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send after socket shutdown."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10065, "No route to host."},
    {10067, "Too many processes."},
    {10091, "Network subsystem is unavailable."},
    {10092, "Winsock.dll version out of range."},
    {10093, "Successful WSAStartup not yet performed."},
    {11001, "Host not found."},
    {11002, "Nonauthoritative host not found."},
    {11003, "This is a nonrecoverable error."},
    {11004, "Valid name, no data record of requested type."},
};

constexpr int kHostNotFound = 11001;
constexpr char kAsyncSource[] = "V21__CSocketMaster.PostSocket";

// The error codes the socket reports, from the platform socket's own error kinds.
int errorCodeOf(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return 10061;
        case QAbstractSocket::RemoteHostClosedError:
            return 10054;
        case QAbstractSocket::HostNotFoundError:
            return kHostNotFound;
        case QAbstractSocket::SocketAccessError:
            return 10013;
        case QAbstractSocket::SocketResourceError:
            return 10055;
        case QAbstractSocket::SocketTimeoutError:
            return 10060;
        case QAbstractSocket::DatagramTooLargeError:
            return 10040;
        case QAbstractSocket::NetworkError:
            return 10050;
        case QAbstractSocket::AddressInUseError:
            return 10048;
        case QAbstractSocket::SocketAddressNotAvailableError:
            return 10049;
        case QAbstractSocket::UnsupportedSocketOperationError:
            return 10045;
        case QAbstractSocket::TemporaryError:
            return 10035;
        case QAbstractSocket::OperationError:
            return 10022;
        default:
            return -1;
    }
}

}  // namespace

QString socketErrorText(int code) {
    for (const auto& [c, text] : kErrorTexts) {
        if (c == code) return QString::fromLatin1(text);
    }
    return QStringLiteral("Unknown error.");
}

V21__CSocketMaster::V21__CSocketMaster(Prompter& prompter) : m_prompter(prompter) {}

V21__CSocketMaster::~V21__CSocketMaster() {
    if (m_socket) {
        // No events towards an owner that is going away.
        m_socket->disconnect();
        m_socket->abort();
    }
}

void V21__CSocketMaster::ensureSocket() {
    if (m_socket) return;
    m_socket = std::make_unique<QUdpSocket>();
    QObject::connect(m_socket.get(), &QUdpSocket::readyRead, [this] { onReadyRead(); });
    QObject::connect(
        m_socket.get(), &QUdpSocket::errorOccurred,
        [this](QAbstractSocket::SocketError e) { raiseError(errorCodeOf(e), kAsyncSource); });
}

bool V21__CSocketMaster::Bind(int port) {
    if (port < 0 || port > 65535) return false;
    ensureSocket();
    if (m_socket->state() != QAbstractSocket::UnconnectedState) m_socket->abort();
    // Exclusive: a second program on the same port must fail, not share the datagrams.
    if (!m_socket->bind(m_localAddress, static_cast<quint16>(port),
                        QAbstractSocket::DontShareAddress)) {
        m_localPort = 0;
        return false;
    }
    m_localPort = m_socket->localPort();
    m_receiveSize = m_socket->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
    m_state = sckOpen;
    return true;
}

QHostAddress V21__CSocketMaster::resolveRemote() {
    // The host text is resolved on every send, so a changed setting or name applies at once.
    QHostAddress address(m_remoteHost);
    if (address.isNull()) {
        const QHostInfo info = QHostInfo::fromName(m_remoteHost);
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                address = a;
                break;
            }
        }
        if (address.isNull()) raiseError(kHostNotFound, "V21__CSocketMaster.SendData_udp_driver");
    }
    return address;
}

void V21__CSocketMaster::SendData_udp_driver(std::span<const std::uint8_t> bytes) {
    if (m_state != sckOpen && !Bind(0)) return;
    const QHostAddress address = resolveRemote();
    if (address.isNull()) return;
    m_socket->writeDatagram(reinterpret_cast<const char*>(bytes.data()),
                            static_cast<qint64>(bytes.size()), address,
                            static_cast<quint16>(m_remotePort));
}

int V21__CSocketMaster::prepareSend(QHostAddress& address) {
    if (m_state != sckOpen && !Bind(0)) return -1;
    address = resolveRemote();
    if (address.isNull()) return -1;
    return static_cast<int>(m_socket->socketDescriptor());
}

void V21__CSocketMaster::CloseSck() {
    // The socket object stays for a later bind: a handler may close it while datagrams are
    // being delivered from it.
    if (m_socket) m_socket->abort();
    m_state = sckClosed;
    m_localPort = 0;
}

void V21__CSocketMaster::onReadyRead() {
    if (m_delivering) return;  // the running delivery loop picks the datagram up
    m_delivering = true;
    while (m_socket && m_state == sckOpen && m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        const QByteArray data = datagram.data();
        if (data.isEmpty() || !DataArrivalNew) continue;
        DataArrivalNew(static_cast<int>(data.size()),
                       std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                 static_cast<std::size_t>(data.size())));
    }
    m_delivering = false;
}

void V21__CSocketMaster::raiseError(int number, const QString& source) {
    m_state = sckError;
    ErrorEvent event;
    event.number = number;
    event.description = socketErrorText(number);
    event.scode = number;
    event.source = source;
    if (Error) Error(event);
    if (!event.cancelDisplay) m_prompter.message(event.description);
}

}  // namespace kx
