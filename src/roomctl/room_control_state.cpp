#include "roomctl/room_control_state.h"

#include <algorithm>

namespace kx {

namespace {

constexpr std::uint8_t kReplyControl = 0xCE;
constexpr std::uint8_t kNecReceived = 0x66;
constexpr int kNecReportLength = 2 + kEffectorCodeSize;

// Entries that store their own index.
ChoiceList indexed(const QStringList& entries) {
    ChoiceList c;
    c.entries = entries;
    for (int i = 0; i < entries.size(); ++i)
        c.values.push_back(i);
    return c;
}

// The numbers first..last, each shown as itself and the suffix.
ChoiceList numbers(int first, int last, const QString& suffix = {}) {
    ChoiceList c;
    for (int v = first; v <= last; ++v) {
        c.entries << QString::number(v) + suffix;
        c.values.push_back(v);
    }
    return c;
}

ChoiceList sceneChoices(const SceneTable& scenes) {
    QStringList entries;
    for (int n = 0; n <= kLastListedScene; ++n)
        entries << sceneEntryText(scenes, n);
    return indexed(entries);
}

ChoiceList vjServerChoices() {
    QStringList entries{QStringLiteral("00 - 无"), QStringLiteral("01 - TamselVJ服务器 2021"),
                        QStringLiteral("02 - MarloVJ服务器")};
    for (int n = 3; n <= 20; ++n)
        entries << QStringLiteral("%1 -").arg(n, 2, 10, QChar('0'));
    return indexed(entries);
}

const std::array<QString, kEffectorKeysOffered> kEffectorLabels{
    QStringLiteral("音乐+"),   QStringLiteral("音乐-"), QStringLiteral("麦克风+"),
    QStringLiteral("麦克风-"), QStringLiteral("升调"),  QStringLiteral("原调"),
    QStringLiteral("降调"),    QStringLiteral("整蛊"),  QStringLiteral("唱将"),
    QStringLiteral("和声"),    QStringLiteral("搞怪"),  QStringLiteral("迪曲"),
    QStringLiteral("电影"),    QStringLiteral("音源1"), QStringLiteral("音源2"),
    QStringLiteral("音源3"),   QStringLiteral("音源4")};

}  // namespace

int ChoiceList::indexOf(int value) const {
    const auto it = std::ranges::find(values, value);
    return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

std::optional<int> ChoiceList::valueAt(int index) const {
    if (index < 0 || index >= static_cast<int>(values.size())) return std::nullopt;
    return values[static_cast<std::size_t>(index)];
}

const std::array<RoomListEntry, kRoomListCount>& roomLists() {
    using R = RoomControl;
    static const std::array<RoomListEntry, kRoomListCount> lists{{
        {RoomList::StartupScene, "Combo开机场景", &R::startupScene},
        {RoomList::AirCon, "Combo开机空调", &R::acAtStartup},
        {RoomList::MicShake, "Combo摇麦时间", &R::micShakeSeconds},
        {RoomList::Smoke, "Combo烟机时间", &R::smokeSeconds},
        {RoomList::CheerBoo, "Combo喝彩倒彩时间", &R::cheerBooSeconds},
        {RoomList::DenseDrum, "Combo密集鼓点参数", &R::denseDrumCount},
        {RoomList::DjMode, "ComboDJ现场专用场景_方式选择", &R::djMode},
        {RoomList::DjAudioSource, "Combo_音源选择", &R::djAudioSource},
        {RoomList::DjScene, "Combo_DJ现场对应场景", &R::djScene},
        {RoomList::VjServer, "ComboVJ服务器选择", &R::vjServer},
        {RoomList::AudioFollow, "Combo音源跟随场景方式", &R::audioFollowMode},
        {RoomList::SceneXYLimit, "Combo场景切换强制XY动作限制", &R::sceneXYLimit},
        {RoomList::XyDefaultLimit, "ComboXY动作限制", nullptr},
    }};
    return lists;
}

const RoomListEntry& roomList(RoomList list) {
    return roomLists()[static_cast<std::size_t>(list)];
}

QString roomListEditName(RoomList list) {
    QString name = QString::fromUtf8(roomList(list).objectName).mid(QStringLiteral("Combo").size());
    while (name.startsWith('_'))
        name.remove(0, 1);
    return name;
}

QString sceneEntryText(const SceneTable& scenes, int n) {
    if (n == 0) return QStringLiteral("无");
    return QString::number(n) + "-" + scenes.at(n).name;
}

ChoiceList roomListChoices(RoomList list, const SceneTable& scenes) {
    static const ChoiceList actionSeconds = [] {
        ChoiceList c;
        for (int v : {0, 2, 4, 6, 8, 10, 15, 20}) {
            c.entries << QString::number(v);
            c.values.push_back(v);
        }
        return c;
    }();
    switch (list) {
        case RoomList::StartupScene:
        case RoomList::DjScene:
            return sceneChoices(scenes);
        case RoomList::AirCon:
            return indexed({QStringLiteral("关闭"), QStringLiteral("低风"), QStringLiteral("中风"),
                            QStringLiteral("高风")});
        case RoomList::MicShake:
            return numbers(1, 20, QStringLiteral("秒"));
        case RoomList::Smoke:
        case RoomList::CheerBoo:
            return actionSeconds;
        case RoomList::DenseDrum:
            return numbers(5, 15);
        case RoomList::DjMode:
            return indexed({QStringLiteral("关闭"), QStringLiteral("点歌机暂停切换"),
                            QStringLiteral("点歌机暂停+静音切换"), QStringLiteral("专用场景1")});
        case RoomList::DjAudioSource: {
            QStringList entries{QStringLiteral("无")};
            for (int n = 1; n <= 6; ++n)
                entries << QStringLiteral("音源%1").arg(n);
            return indexed(entries);
        }
        case RoomList::VjServer:
            return vjServerChoices();
        case RoomList::AudioFollow:
            return indexed({QStringLiteral("无"), QStringLiteral("本机端口"),
                            QStringLiteral("VJ服务器端口"), QStringLiteral("红外输出")});
        case RoomList::SceneXYLimit:
            return numbers(0, 10);
        case RoomList::XyDefaultLimit:
            return numbers(0, kLastXyDefaultLimitOffered);
    }
    return {};
}

const std::array<RoomCheckEntry, kRoomCheckCount>& roomChecks() {
    using R = RoomControl;
    static const std::array<RoomCheckEntry, kRoomCheckCount> checks{{
        {"Check开机排风1", "开机排风1", &R::fan1OnAtStartup, false},
        // The record stores 0 for "channel 9 serves as exhaust fan 1".
        {"Check开启排风1通道复用", "通道9当排风1", &R::fan1ChannelReuseOff, true},
        {"Check开机排风2", "开机排风2", &R::fan2OnAtStartup, false},
        {"Check开启排风2通道复用", "通道3当排风2", &R::fan2ChannelReuse, false},
        {"Check高中低风通道复用", "通道678当空调高中低", &R::acFanChannelReuse, false},
        {"Check阀开通道复用", "通道5当阀开", &R::valveOpenChannelReuse, false},
        {"Check阀关通道复用", "通道4当阀关", &R::valveCloseChannelReuse, false},
        {"CheckVOD暂停时不切换到暂停场景", "勾选屏蔽暂停场景功能", &R::vodPauseNoPauseScene, false},
        {"CheckDmx512数据暂停", "Dmx512数据暂停", &R::dmxPauseOnVodPause, false},
        {"Check关闭多色门牌灯", "关闭多色门牌灯", &R::doorLightOff, false},
    }};
    return checks;
}

std::uint8_t checkFieldValue(const RoomCheckEntry& check, bool ticked) {
    return ticked != check.inverted ? 1 : 0;
}

bool checkTicked(const RoomCheckEntry& check, std::uint8_t value) {
    return (value != 0) != check.inverted;
}

QString effectorKeyLabel(int key) {
    if (key < 1 || key > kEffectorKeysOffered) return {};
    return kEffectorLabels[static_cast<std::size_t>(key - 1)];
}

QString effectorCodeText(const EffectorCode& code) {
    if (std::ranges::all_of(code, [](std::uint8_t b) { return b == 0; })) return {};
    QString text;
    for (std::uint8_t b : code)
        text += QStringLiteral("%1 ").arg(b, 2, 16, QChar('0')).toUpper();
    return text;
}

std::optional<EffectorCode> parseEffectorCode(const QString& text) {
    QString digits = text;
    digits.remove(' ');
    if (digits.isEmpty()) return EffectorCode{};
    const auto hex = [](QChar c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    };
    if (digits.size() != 2 * kEffectorCodeSize || !std::ranges::all_of(digits, hex))
        return std::nullopt;
    EffectorCode code{};
    for (int i = 0; i < kEffectorCodeSize; ++i)
        code[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(digits.mid(2 * i, 2).toUInt(nullptr, 16));
    return code;
}

std::optional<EffectorCode> necReport(std::uint8_t code, std::span<const std::uint8_t> data) {
    if (code != kReplyControl || data.size() != kNecReportLength) return std::nullopt;
    if (data[0] != kNecReceive || data[1] != kNecReceived) return std::nullopt;
    EffectorCode c{};
    std::copy_n(data.begin() + 2, kEffectorCodeSize, c.begin());
    return c;
}

IrFocusStep irFocusTick(int focusedKey, bool connected, bool inFront) {
    if (focusedKey != 0) {
        if (connected && inFront) return {kIrReceiveOn, kIrReceiveRepeatMs};
        return {std::nullopt, kIrReceiveRepeatMs};
    }
    if (connected) return {kIrReceiveOff, 0};
    return {};
}

RoomControlColours roomControlColours(const Appearance& a) {
    RoomControlColours c;
    if (!a.customised) return c;
    c.codeValid = a.colour(ColourKey::公用Text背景颜色);
    c.labelFocused = a.colour(ColourKey::灯控_红外label选中文字颜色);
    c.labelNormal = a.colour(ColourKey::公用Label文字颜色);
    return c;
}

}  // namespace kx
