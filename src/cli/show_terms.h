#pragma once

#include <QString>
#include <array>

#include "roomctl/room_control.h"

namespace kx {

// How the command-line tool names what a show holds.

struct RoomControlFieldName {
    const char* name;
    RoomControlField field;
};
inline constexpr int kRoomControlFieldCount = 23;
// Every one-byte field of the Room Control record, in record order.
const std::array<RoomControlFieldName, kRoomControlFieldCount>& roomControlFieldNames();

// "A", "B", "C", "D", "VJ"; "?" for anything else.
QString portTerm(int port);
// "no-bass part" / "bass part".
QString partName(int part);

}  // namespace kx
