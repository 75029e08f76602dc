#pragma once

#include <QHostAddress>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "base/prompter.h"

class QUdpSocket;

namespace kx {

// Text of a socket error code; "Unknown error." for a code without one.
QString socketErrorText(int code);

// A small event-driven UDP socket: set the remote end, bind or send, close; datagrams and
// asynchronous errors arrive as events on the interface thread, in arrival order, and never while
// a handler of the same socket is still running.
class V21__CSocketMaster {
  public:
    enum State {
        sckClosed = 0,
        sckOpen = 1,
        sckListening = 2,
        sckResolvingHost = 4,
        sckHostResolved = 5,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };
    static constexpr int kProtocolUdp = 1;

    struct ErrorEvent {
        int number = 0;
        QString description;
        int scode = 0;
        QString source;
        QString helpFile;
        int helpContext = 0;
        // Raised true; only a handler that sets it false gets the message box, shown through the
        // socket's prompter.
        bool cancelDisplay = true;
    };

    explicit V21__CSocketMaster(Prompter& prompter);
    ~V21__CSocketMaster();
    V21__CSocketMaster(const V21__CSocketMaster&) = delete;
    V21__CSocketMaster& operator=(const V21__CSocketMaster&) = delete;

    // One datagram: its byte count and bytes.
    std::function<void(int count, std::span<const std::uint8_t> bytes)> DataArrivalNew;
    std::function<void(ErrorEvent& event)> Error;

    void setProtocol(int protocol) { m_protocol = protocol; }
    int protocol() const { return m_protocol; }
    void setRemoteHost(const QString& host) { m_remoteHost = host; }
    const QString& remoteHost() const { return m_remoteHost; }
    void setRemotePort(int port) { m_remotePort = port; }
    int remotePort() const { return m_remotePort; }
    // The address binds use (all local addresses unless set).
    void setLocalAddress(const QHostAddress& address) { m_localAddress = address; }
    int localPort() const { return m_localPort; }
    State state() const { return m_state; }
    // The system receive-buffer size read when the socket was created.
    int receiveSize() const { return m_receiveSize; }

    // Creates the socket when needed and binds it to port (0: the system chooses). False (with an
    // Error event) when the port cannot be bound.
    bool Bind(int port);
    // Sends bytes as one datagram to the remote end, creating and binding the socket first when
    // it does not exist. Failures arrive as Error events.
    void SendData_udp_driver(std::span<const std::uint8_t> bytes);
    // What a send from another thread needs, made ready as SendData_udp_driver does before it
    // writes (the socket created and bound, the remote end resolved, failures as Error events):
    // the native descriptor and the remote address, or -1. The descriptor stays valid until the
    // socket is closed.
    int prepareSend(QHostAddress& address);
    // Closes the socket; a socket never opened stays closed.
    void CloseSck();

  private:
    void ensureSocket();
    // The remote host text as an IPv4 address; null (with an Error event) when it resolves to none.
    QHostAddress resolveRemote();
    void onReadyRead();
    void raiseError(int number, const QString& source);

    Prompter& m_prompter;
    int m_protocol = kProtocolUdp;
    QString m_remoteHost;
    int m_remotePort = 0;
    QHostAddress m_localAddress{QHostAddress::AnyIPv4};
    int m_localPort = 0;
    int m_receiveSize = 0;
    State m_state = sckClosed;
    bool m_delivering = false;
    std::unique_ptr<QUdpSocket> m_socket;
};

}  // namespace kx
