#include "cli/room_list.h"

#include <QHostInfo>
#include <QRegularExpression>
#include <set>

namespace kx {

bool isIPv4Text(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return false;
    for (int i = 1; i <= 4; ++i) {
        if (m.captured(i).toInt() > 255) return false;
    }
    return true;
}

bool isHostNameText(const QString& text) {
    static const QRegularExpression label(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    static const QRegularExpression digitsAndDots(QStringLiteral("^[0-9.]+$"));
    // All digits and dots is a malformed address, not a name.
    if (text.isEmpty() || text.size() > 253 || digitsAndDots.match(text).hasMatch()) return false;
    for (const QString& part : text.split('.')) {
        if (!label.match(part).hasMatch()) return false;
    }
    return true;
}

bool isRefusedAddress(const QHostAddress& address) {
    const quint32 v = address.toIPv4Address();
    return address.protocol() != QAbstractSocket::IPv4Protocol || (v >> 24) == 0 ||
           address.isMulticast() || address.isBroadcast();
}

RoomParse parseRoomTarget(const QString& name, const QString& target) {
    QString host = target;
    quint16 port = kDefaultControllerPort;
    const int colon = target.lastIndexOf(':');
    if (colon >= 0) {
        host = target.left(colon);
        bool ok = false;
        const int p = target.mid(colon + 1).toInt(&ok);
        if (!ok || p < 1 || p > 65535)
            return {{}, QStringLiteral("\"%1\" is not a port").arg(target.mid(colon + 1))};
        port = static_cast<quint16>(p);
    }
    if (!isIPv4Text(host) && !isHostNameText(host))
        return {{}, QStringLiteral("\"%1\" is not an IPv4 address or host name").arg(host)};
    Room room;
    room.name = name.isEmpty() ? target : name;
    room.host = host;
    room.port = port;
    return {room, {}};
}

RoomsFileParse parseRoomsFile(const QString& text) {
    RoomsFileParse out;
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (const int hash = line.indexOf('#'); hash >= 0) line.truncate(hash);
        const QStringList fields = line.simplified().split(' ', Qt::SkipEmptyParts);
        if (fields.isEmpty()) continue;
        const auto fail = [&](const QString& why) {
            return RoomsFileParse{{}, QStringLiteral("line %1: %2").arg(i + 1).arg(why)};
        };
        if (fields.size() != 2) return fail(QStringLiteral("expected \"name HOST[:PORT]\""));
        const RoomParse room = parseRoomTarget(fields[0], fields[1]);
        if (!room.room) return fail(room.error);
        out.rooms.push_back(*room.room);
    }
    if (out.rooms.empty()) out.error = QStringLiteral("no rooms");
    return out;
}

QString resolveRooms(std::vector<Room>& rooms) {
    std::set<std::pair<quint32, quint16>> seen;
    std::set<QString> names;
    for (Room& room : rooms) {
        QHostAddress address(room.host);
        if (!isIPv4Text(room.host)) {
            address = QHostAddress();
            for (const QHostAddress& a : QHostInfo::fromName(room.host).addresses()) {
                if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                    address = a;
                    break;
                }
            }
            if (address.isNull())
                return QStringLiteral("%1: host %2 not found").arg(room.name, room.host);
        }
        if (isRefusedAddress(address))
            return QStringLiteral("%1: %2 is no Controller's address")
                .arg(room.name, address.toString());
        if (!seen.insert({address.toIPv4Address(), room.port}).second)
            return QStringLiteral("%1: %2:%3 is already another room's Controller")
                .arg(room.name, address.toString())
                .arg(room.port);
        if (!names.insert(room.name).second)
            return QStringLiteral("%1: the name is already another room's").arg(room.name);
        room.address = address;
    }
    return {};
}

}  // namespace kx
