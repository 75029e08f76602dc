#include "roomctl/room_control.h"

#include <algorithm>
#include <vector>

#include "storage/record_io.h"

namespace kx {

namespace {

// One byte field of the body: its offset and the values it takes.
struct FieldSpec {
    int offset;
    RoomControlField field;
    int min;
    int max;
    std::vector<int> only;  // when not empty, the only values taken
};

const std::vector<FieldSpec>& fieldSpecs() {
    static const std::vector<int> actionSeconds{0, 2, 4, 6, 8, 10, 15, 20};
    static const std::vector<FieldSpec> specs{
        {2, &RoomControl::startupScene, 0, 32, {}},
        {3, &RoomControl::fan1OnAtStartup, 0, 1, {}},
        {4, &RoomControl::fan1ChannelReuseOff, 0, 1, {}},
        {5, &RoomControl::fan2OnAtStartup, 0, 1, {}},
        {6, &RoomControl::fan2ChannelReuse, 0, 1, {}},
        {7, &RoomControl::acAtStartup, 0, 3, {}},
        {8, &RoomControl::acFanChannelReuse, 0, 1, {}},
        {9, &RoomControl::valveOpenChannelReuse, 0, 1, {}},
        {10, &RoomControl::valveCloseChannelReuse, 0, 1, {}},
        {11, &RoomControl::micShakeSeconds, 1, 20, {}},
        {12, &RoomControl::sceneRelaySource, 0, 1, {}},
        {13, &RoomControl::smokeSeconds, 0, 20, actionSeconds},
        {14, &RoomControl::cheerBooSeconds, 0, 20, actionSeconds},
        {15, &RoomControl::denseDrumCount, 5, 15, {}},
        {16, &RoomControl::djMode, 0, 3, {}},
        {17, &RoomControl::djAudioSource, 0, 6, {}},
        {18, &RoomControl::djScene, 0, 32, {}},
        {20, &RoomControl::vjServer, 0, 20, {}},
        {21, &RoomControl::audioFollowMode, 0, 3, {}},
        {25, &RoomControl::sceneXYLimit, 0, 10, {}},
        {26, &RoomControl::vodPauseNoPauseScene, 0, 1, {}},
        {27, &RoomControl::dmxPauseOnVodPause, 0, 1, {}},
        {28, &RoomControl::doorLightOff, 0, 1, {}},
    };
    return specs;
}

constexpr int kFirstFieldOffset = 2;
constexpr int kLastFieldOffset = 28;

const FieldSpec* specAt(int offset) {
    for (const FieldSpec& s : fieldSpecs()) {
        if (s.offset == offset) return &s;
    }
    return nullptr;  // a reserved byte
}

// Fixed bytes closing the body; nothing reads them back.
constexpr std::array<std::uint8_t, 20> kSignature{'K', 'X', '-', '7', '4', '2', '0', ' ', 'R', 'O',
                                                  'O', 'M', ' ', 'C', 'O', 'N', 'T', 'R', 'O', 'L'};

}  // namespace

bool roomControlAccepts(RoomControlField field, int value) {
    for (const FieldSpec& s : fieldSpecs()) {
        if (s.field != field) continue;
        if (!s.only.empty()) return std::ranges::find(s.only, value) != s.only.end();
        return value >= s.min && value <= s.max;
    }
    return false;
}

bool setRoomControl(RoomControl& rc, RoomControlField field, int value) {
    if (!roomControlAccepts(field, value)) return false;
    rc.*field = static_cast<std::uint8_t>(value);
    return true;
}

bool setEffectorCode(RoomControl& rc, int key, const EffectorCode& code) {
    if (key < 1 || key > kEffectorKeys) return false;
    rc.effectorCodes[key - 1] = code;
    return true;
}

void resetRoomControl(RoomControl& rc) {
    for (const FieldSpec& s : fieldSpecs()) {
        const bool kept = s.field == &RoomControl::sceneXYLimit ||
                          s.field == &RoomControl::vodPauseNoPauseScene ||
                          s.field == &RoomControl::dmxPauseOnVodPause;
        if (!kept) rc.*s.field = 0;
    }
    rc.effectorCodes = {};
}

void applyRoomControlDefaults(RoomControl& rc) {
    if (rc.micShakeSeconds == 0) rc.micShakeSeconds = 1;
    if (rc.sceneRelaySource > 1) rc.sceneRelaySource = 0;
    if (rc.denseDrumCount < 5 || rc.denseDrumCount > 15) {
        rc.denseDrumCount = kDefaultDenseDrumCount;
    }
}

void writeRoomControlSection(const RoomControl& rc, RecordBuffer& buf, int& cursor) {
    Fun_BeginSection(kSectionRoomControl, kRoomControlTag, cursor, buf);
    const int start = cursor;
    Fun_Put2(kRoomControlBodySize, cursor, buf);
    for (int offset = kFirstFieldOffset; offset <= kLastFieldOffset; ++offset) {
        const FieldSpec* s = specAt(offset);
        Fun_Put1(s ? rc.*s->field : 0, cursor, buf);
    }
    // The gap up to the codes is zero in every file written.
    const std::array<std::uint8_t, kRoomControlCodesOffset> zeros{};
    Fun_PutBytes(start + kRoomControlCodesOffset - cursor, zeros, cursor, buf);
    for (const EffectorCode& code : rc.effectorCodes) {
        for (std::uint8_t b : code)
            Fun_Put1(b, cursor, buf);
    }
    for (std::uint8_t b : kSignature)
        Fun_Put1(b, cursor, buf);
}

bool readRoomControlSection(RoomControl& rc, RecordBuffer& buf, int& cursor) {
    resetRoomControl(rc);
    if (Fun_FindSection(kSectionRoomControl, kRoomControlTag, cursor, buf)) {
        // The signature is never read, but a body cut short is damage.
        if (!buf.require(cursor, kRoomControlBodySize)) return false;
        const int start = cursor;
        Fun_Get2(cursor, buf);
        for (int offset = kFirstFieldOffset; offset <= kLastFieldOffset; ++offset) {
            const int value = Fun_Get1(cursor, buf);
            if (const FieldSpec* s = specAt(offset))
                rc.*s->field = static_cast<std::uint8_t>(value);
        }
        cursor = start + kRoomControlCodesOffset;
        for (EffectorCode& code : rc.effectorCodes) {
            for (std::uint8_t& b : code)
                b = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
        }
    }
    applyRoomControlDefaults(rc);
    return true;
}

SectionRoutine roomControlSectionRoutine(RoomControl& rc) {
    return {kSectionRoomControl, kRoomControlTag,
            [&rc](RecordBuffer& buf, int& cursor, SectionScratch) {
                writeRoomControlSection(rc, buf, cursor);
            },
            [&rc](RecordBuffer& buf, int& cursor, SectionScratch, QStringList&) {
                return readRoomControlSection(rc, buf, cursor);
            }};
}

}  // namespace kx
