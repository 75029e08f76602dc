// libFuzzer target of the room control section reader (Show File section 1).
#include <QByteArray>

#include "roomctl/room_control.h"
#include "storage/record_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kx::RecordBuffer buf = kx::RecordBuffer::fromBytes(bytes);
    kx::RoomControl rc;
    int cursor = 0;
    if (kx::readRoomControlSection(rc, buf, cursor)) {
        // The load adjustments always hold.
        if (rc.micShakeSeconds == 0 || rc.sceneRelaySource > 1 || rc.denseDrumCount < 5 ||
            rc.denseDrumCount > 15) {
            __builtin_trap();
        }
    }
    return 0;
}
