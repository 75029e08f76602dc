#include "cli/show_terms.h"

#include "effects/effect_model.h"
#include "fixtures/fixture_library.h"

namespace kx {

const std::array<RoomControlFieldName, kRoomControlFieldCount>& roomControlFieldNames() {
    static const std::array<RoomControlFieldName, kRoomControlFieldCount> names{{
        {"startupScene", &RoomControl::startupScene},
        {"fan1OnAtStartup", &RoomControl::fan1OnAtStartup},
        {"fan1ChannelReuseOff", &RoomControl::fan1ChannelReuseOff},
        {"fan2OnAtStartup", &RoomControl::fan2OnAtStartup},
        {"fan2ChannelReuse", &RoomControl::fan2ChannelReuse},
        {"acAtStartup", &RoomControl::acAtStartup},
        {"acFanChannelReuse", &RoomControl::acFanChannelReuse},
        {"valveOpenChannelReuse", &RoomControl::valveOpenChannelReuse},
        {"valveCloseChannelReuse", &RoomControl::valveCloseChannelReuse},
        {"micShakeSeconds", &RoomControl::micShakeSeconds},
        {"sceneRelaySource", &RoomControl::sceneRelaySource},
        {"smokeSeconds", &RoomControl::smokeSeconds},
        {"cheerBooSeconds", &RoomControl::cheerBooSeconds},
        {"denseDrumCount", &RoomControl::denseDrumCount},
        {"djMode", &RoomControl::djMode},
        {"djAudioSource", &RoomControl::djAudioSource},
        {"djScene", &RoomControl::djScene},
        {"vjServer", &RoomControl::vjServer},
        {"audioFollowMode", &RoomControl::audioFollowMode},
        {"sceneXYLimit", &RoomControl::sceneXYLimit},
        {"vodPauseNoPauseScene", &RoomControl::vodPauseNoPauseScene},
        {"dmxPauseOnVodPause", &RoomControl::dmxPauseOnVodPause},
        {"doorLightOff", &RoomControl::doorLightOff},
    }};
    return names;
}

QString portTerm(int port) {
    static const std::array<QString, kPortCount> names{"A", "B", "C", "D", "VJ"};
    return port >= 0 && port < kPortCount ? names[static_cast<std::size_t>(port)]
                                          : QStringLiteral("?");
}

QString partName(int part) {
    return part == kBassPart ? QStringLiteral("bass part") : QStringLiteral("no-bass part");
}

}  // namespace kx
