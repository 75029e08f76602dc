#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>
#include <vector>

namespace kx {

// One Controller of a venue: the room's name and where its Controller listens.
struct Room {
    QString name;
    QString host;  // as written: an IPv4 address or a host name
    quint16 port = 0;
    QHostAddress address;  // the IPv4 address the host stands for, once resolved
};

inline constexpr quint16 kDefaultControllerPort = 51800;

// True for a dotted IPv4 address or a host name (letters, digits and hyphens in dot-separated
// labels), nothing else: no IPv6, no ports, no spaces.
bool isIPv4Text(const QString& text);
bool isHostNameText(const QString& text);
// An address the tool never sends to: 0.0.0.0/8, multicast, 255.255.255.255.
bool isRefusedAddress(const QHostAddress& address);

// "HOST" or "HOST:PORT" as the Controller of room name; the reason when it is not one.
struct RoomParse {
    std::optional<Room> room;
    QString error;
};
RoomParse parseRoomTarget(const QString& name, const QString& target);

// The rooms file: one "name HOST[:PORT]" a line; blank lines and everything after '#' ignored.
// The first bad line is named ("line 4: ..."), and then there are no rooms.
struct RoomsFileParse {
    std::vector<Room> rooms;
    QString error;
};
RoomsFileParse parseRoomsFile(const QString& text);

// Resolves every host to its IPv4 address and refuses the list when one cannot be resolved,
// stands for an address the tool never sends to, or two rooms share an address and port: ""
// when the rooms can be used, otherwise why not.
QString resolveRooms(std::vector<Room>& rooms);

}  // namespace kx
