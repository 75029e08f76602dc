#include "monitor/lamp_look.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace kx {

namespace {

bool isOneOf(const QString& name, const QStringList& names) {
    return names.contains(name, Qt::CaseInsensitive);
}

std::uint8_t scaled(int value, int level) {
    return static_cast<std::uint8_t>((std::min(value, 255) * level + 127) / 255);
}

// The highest value each role has on the fixture's channels; -1 for a role it has no channel of.
// Pan and tilt take their first channel, like the fixture itself.
struct RoleValues {
    std::array<int, static_cast<int>(ChannelRole::Other) + 1> values;
    RoleValues() { values.fill(-1); }
    int operator[](ChannelRole role) const { return values[static_cast<int>(role)]; }
    bool has(ChannelRole role) const { return (*this)[role] >= 0; }
    void take(ChannelRole role, int value) {
        int& v = values[static_cast<int>(role)];
        const bool first = role == ChannelRole::Pan || role == ChannelRole::PanFine ||
                           role == ChannelRole::Tilt || role == ChannelRole::TiltFine;
        if (v < 0 || !first) v = std::max(v, value);
    }
};

double position(const RoleValues& roles, ChannelRole coarse, ChannelRole fine) {
    if (!roles.has(coarse)) return 0.5;
    if (!roles.has(fine)) return roles[coarse] / 255.0;
    return (roles[coarse] * 256 + roles[fine]) / 65535.0;
}

}  // namespace

ChannelRole channelRole(const QString& functionName) {
    const QString name = functionName.trimmed();
    if (name.isEmpty() || name == QStringLiteral("空")) return ChannelRole::None;
    if (isOneOf(name, {"R", "R1", "红", "红色"})) return ChannelRole::Red;
    if (isOneOf(name, {"G", "G1", "绿", "绿色"})) return ChannelRole::Green;
    if (isOneOf(name, {"B", "B1", "蓝", "蓝色"})) return ChannelRole::Blue;
    if (isOneOf(name, {"W", "W1", "白", "白色"})) return ChannelRole::White;
    if (isOneOf(name, {"A", "A1", "琥珀", "琥珀色", "Amber"})) return ChannelRole::Amber;
    // "调光/频闪" dims: which of its values strobe differs from fixture to fixture.
    if (name.contains(QStringLiteral("调光"))) return ChannelRole::Dimmer;
    if (name.contains(QStringLiteral("频闪"))) return ChannelRole::Strobe;
    if (name.contains(QStringLiteral("色盘")) && !name.contains(QStringLiteral("流水")))
        return ChannelRole::ColourWheel;
    if (isOneOf(name, {"X", "X1"})) return ChannelRole::Pan;
    if (isOneOf(name, {"X微调"})) return ChannelRole::PanFine;
    if (isOneOf(name, {"Y", "Y2"})) return ChannelRole::Tilt;
    if (isOneOf(name, {"Y微调"})) return ChannelRole::TiltFine;
    return ChannelRole::Other;
}

ChannelRoles channelRoles(const ChannelFunctionNames& names) {
    ChannelRoles roles{};
    for (int code = 0; code < kChannelFunctionCount; ++code)
        roles[static_cast<std::size_t>(code)] = channelRole(names[code]);
    return roles;
}

WheelColour wheelColour(int value) {
    static const std::array<WheelColour, 8> kSlots{{
        {QStringLiteral("白"), {255, 255, 255}},
        {QStringLiteral("红"), {255, 0, 0}},
        {QStringLiteral("橙"), {255, 128, 0}},
        {QStringLiteral("黄"), {255, 255, 0}},
        {QStringLiteral("绿"), {0, 255, 0}},
        {QStringLiteral("蓝"), {0, 0, 255}},
        {QStringLiteral("青"), {0, 255, 255}},
        {QStringLiteral("紫"), {160, 0, 255}},
    }};
    if (value >= kWheelRotationFrom) return {QStringLiteral("流水"), {255, 255, 255}};
    return kSlots[static_cast<std::size_t>(std::max(value, 0) / kWheelSlotWidth)];
}

int transmittedValue(const DmxFrame& frame, int index) {
    return index >= 1 && index <= kTransmittedChannels ? frame[static_cast<std::size_t>(index)] : 0;
}

bool runsPastPort(const Fixture& fixture) {
    return isPatched(fixture) && fixture.startAddress + fixture.channelCount - 1 > kChannelsPerPort;
}

LampLook lampLook(const Fixture& fixture, const DmxFrame& frame, const ChannelRoles& roleOf) {
    RoleValues roles;
    const int count = std::min<int>(fixture.channelCount, kMaxFixtureChannels);
    for (int ch = 1; ch <= count; ++ch) {
        const ChannelRole role = roleOf[fixture.functions[ch - 1]];
        if (role != ChannelRole::None)
            roles.take(role, transmittedValue(frame, frameIndex(fixture, ch)));
    }

    LampLook look;
    const auto level = [&roles](ChannelRole role) { return std::max(roles[role], 0); };
    Rgb base;
    if (roles.has(ChannelRole::ColourWheel))
        look.wheel = wheelColour(roles[ChannelRole::ColourWheel]).name;
    if (roles.has(ChannelRole::Red) || roles.has(ChannelRole::Green) ||
        roles.has(ChannelRole::Blue) || roles.has(ChannelRole::White) ||
        roles.has(ChannelRole::Amber)) {
        const int white = level(ChannelRole::White);
        const int amber = level(ChannelRole::Amber);
        base.r = static_cast<std::uint8_t>(std::min(255, level(ChannelRole::Red) + white + amber));
        base.g = static_cast<std::uint8_t>(
            std::min(255, level(ChannelRole::Green) + white + amber * 191 / 255));
        base.b = static_cast<std::uint8_t>(std::min(255, level(ChannelRole::Blue) + white));
    } else if (roles.has(ChannelRole::ColourWheel)) {
        base = wheelColour(roles[ChannelRole::ColourWheel]).colour;
    } else if (roles.has(ChannelRole::Dimmer) || roles.has(ChannelRole::Strobe)) {
        base = {255, 255, 255};
    } else {
        const auto v = static_cast<std::uint8_t>(level(ChannelRole::Other));
        base = {v, v, v};
    }
    const int dimmer = roles.has(ChannelRole::Dimmer) ? roles[ChannelRole::Dimmer] : 255;
    look.colour = {scaled(base.r, dimmer), scaled(base.g, dimmer), scaled(base.b, dimmer)};
    look.lit = look.colour != Rgb{};
    const int strobe = roles[ChannelRole::Strobe];
    if (strobe >= kStrobeFirstFlashing && strobe <= kStrobeLastFlashing) look.strobe = strobe;
    look.hasBeam = roles.has(ChannelRole::Pan) || roles.has(ChannelRole::Tilt);
    if (look.hasBeam) {
        look.pan = position(roles, ChannelRole::Pan, ChannelRole::PanFine);
        look.tilt = position(roles, ChannelRole::Tilt, ChannelRole::TiltFine);
    }
    return look;
}

std::vector<LampLook> lampLooks(const FixtureLibrary& library, const DmxFrame& frame,
                                const ChannelFunctionNames& names) {
    return lampLooks(library, frame, channelRoles(names));
}

std::vector<LampLook> lampLooks(const FixtureLibrary& library, const DmxFrame& frame,
                                const ChannelRoles& roles) {
    const auto forEachPatched = [&library](auto&& visit) {
        for (int page = 0; page < libraryPages; ++page) {
            for (int n = 1; n <= kFixturesPerPage; ++n) {
                const Fixture& f = library.at(page, n);
                if (isPatched(f)) visit(page, n, f);
            }
        }
    };
    const auto forEachIndex = [](const Fixture& f, auto&& visit) {
        const int count = std::min<int>(f.channelCount, kMaxFixtureChannels);
        for (int ch = 1; ch <= count; ++ch) {
            const int index = frameIndex(f, ch);
            if (index >= 1 && index < kDmxFrameSize) visit(static_cast<std::size_t>(index));
        }
    };
    // How many patched channels land on each frame index, saturating.
    std::array<std::uint8_t, kDmxFrameSize> owners{};
    forEachPatched([&](int, int, const Fixture& f) {
        forEachIndex(f, [&owners](std::size_t index) {
            if (owners[index] < 255) ++owners[index];
        });
    });

    std::vector<LampLook> looks;
    forEachPatched([&](int page, int n, const Fixture& f) {
        LampLook look = lampLook(f, frame, roles);
        look.page = page;
        look.number = n;
        look.overruns = runsPastPort(f);
        forEachIndex(f, [&](std::size_t index) { look.overlaps |= owners[index] > 1; });
        looks.push_back(std::move(look));
    });
    return looks;
}

}  // namespace kx
