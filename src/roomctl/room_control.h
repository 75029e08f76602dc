#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "storage/record_buffer.h"
#include "storage/show_file.h"

namespace kx {

// Room Control: the room-wide behaviour of the Controller (power-up, relay reuse, action times,
// dense drum detection, VOD pause, VJ server, effector IR codes). Show File section 1.

inline const QString kRoomControlTag = QStringLiteral("F1042301");
inline constexpr int kRoomControlBodySize = 200;
inline constexpr int kRoomControlCodesOffset = 100;
inline constexpr int kEffectorKeys = 20;
inline constexpr int kEffectorKeysOffered = 17;
inline constexpr int kEffectorCodeSize = 4;
inline constexpr int kDefaultDenseDrumCount = 7;
inline constexpr int kDefaultSceneXYLimit = 2;

using EffectorCode = std::array<std::uint8_t, kEffectorCodeSize>;

// Field comments give the byte offset inside the section body. The member defaults are the
// pristine record: the reset values with the defaults applied.
struct RoomControl {
    std::uint8_t startupScene = 0;            // 2: 0 none, 1-32
    std::uint8_t fan1OnAtStartup = 0;         // 3
    std::uint8_t fan1ChannelReuseOff = 0;     // 4: 0 = channel 9 serves as exhaust fan 1
    std::uint8_t fan2OnAtStartup = 0;         // 5
    std::uint8_t fan2ChannelReuse = 0;        // 6: 1 = channel 3 serves as exhaust fan 2
    std::uint8_t acAtStartup = 0;             // 7: 0-3
    std::uint8_t acFanChannelReuse = 0;       // 8
    std::uint8_t valveOpenChannelReuse = 0;   // 9
    std::uint8_t valveCloseChannelReuse = 0;  // 10
    std::uint8_t micShakeSeconds = 1;         // 11: 1-20
    std::uint8_t sceneRelaySource = 0;        // 12: 0-1
    std::uint8_t smokeSeconds = 0;            // 13: 0, 2, 4, 6, 8, 10, 15, 20
    std::uint8_t cheerBooSeconds = 0;         // 14: as smokeSeconds
    std::uint8_t denseDrumCount = kDefaultDenseDrumCount;  // 15: 5-15
    std::uint8_t djMode = 0;                               // 16: 0-3
    std::uint8_t djAudioSource = 0;                        // 17: 0-6
    std::uint8_t djScene = 0;                              // 18: 0-32
    std::uint8_t vjServer = 0;                             // 20: 0-20
    std::uint8_t audioFollowMode = 0;                      // 21: 0-3
    std::uint8_t sceneXYLimit = kDefaultSceneXYLimit;      // 25: 0-10
    std::uint8_t vodPauseNoPauseScene = 0;                 // 26
    std::uint8_t dmxPauseOnVodPause = 0;                   // 27
    std::uint8_t doorLightOff = 0;                         // 28
    // Key k (1-20) at index k - 1, bytes in the order typed; all zero = no code.
    std::array<EffectorCode, kEffectorKeys> effectorCodes{};

    bool operator==(const RoomControl&) const = default;
};

using RoomControlField = std::uint8_t RoomControl::*;

// Whether value is one the field takes (false for a pointer that is no field of the record).
bool roomControlAccepts(RoomControlField field, int value);
// Stores value when the field takes it; false and nothing changed otherwise.
bool setRoomControl(RoomControl& rc, RoomControlField field, int value);
// Key 1-20; false for any other key.
bool setEffectorCode(RoomControl& rc, int key, const EffectorCode& code);

// Offsets 2-18, 20-21 and 28 to 0 and the codes cleared; sceneXYLimit, vodPauseNoPauseScene and
// dmxPauseOnVodPause keep their values.
void resetRoomControl(RoomControl& rc);
// micShakeSeconds 0 -> 1, sceneRelaySource above 1 -> 0, denseDrumCount outside 5-15 -> 7.
void applyRoomControlDefaults(RoomControl& rc);

// Section 1: frame and 200-byte body at the cursor; the cursor ends after the body.
void writeRoomControlSection(const RoomControl& rc, RecordBuffer& buf, int& cursor);
// Reset, read the body when the section is there, apply the defaults. False only when the
// section is there but its body runs past the end of the buffer (rc is then left reset).
bool readRoomControlSection(RoomControl& rc, RecordBuffer& buf, int& cursor);
SectionRoutine roomControlSectionRoutine(RoomControl& rc);

}  // namespace kx
