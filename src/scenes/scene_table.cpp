#include "scenes/scene_table.h"

#include "storage/record_io.h"

namespace kx {

namespace {

constexpr int kHeaderSize = 20;
constexpr int kTableEntries = kSceneCount + 1;  // entry 51: the wall-panel block
constexpr int kMaxEffectNumber = 50;
constexpr int kMaxAssociation = 30;
constexpr int kMaxPosition16 = 0xFFFF;

bool isChannel(int channel, int count) {
    return channel >= 1 && channel <= count;
}
bool inRange(int value, int max) {
    return value >= 0 && value <= max;
}

void writeRecord(const Scene& s, RecordBuffer& buf, int& cursor) {
    Fun_Put1(s.effectNumber, cursor, buf);
    Fun_Put1(s.mainsByDmx != 0 ? 1 : 0, cursor, buf);
    int relayMask = 0;
    for (int k = 1; k <= kRelayChannels; ++k) {
        if (s.relays[k - 1] != 0) relayMask |= 1 << (k - 1);
    }
    Fun_Put3(relayMask, cursor, buf);
    int dimmerMask = 0;
    for (int k = 1; k <= kDimmerChannels; ++k) {
        if (s.dimmerLevels[k - 1] != 0) dimmerMask |= 1 << (k - 1);
    }
    Fun_Put1(dimmerMask, cursor, buf);
    for (int k = 1; k <= kDimmerChannels; ++k) {
        if (s.dimmerLevels[k - 1] != 0) Fun_Put1(s.dimmerLevels[k - 1], cursor, buf);
    }
}

void readRecord(Scene& s, RecordBuffer& buf, int& cursor) {
    const int effect = Fun_Get1(cursor, buf);
    // A number no Effect has would send the editors to a missing Effect: it reads as none.
    s.effectNumber = static_cast<std::uint8_t>(effect <= kMaxEffectNumber ? effect : 0);
    s.mainsByDmx = (Fun_Get1(cursor, buf) & 0x01) != 0 ? 1 : 0;
    const int relayMask = Fun_Get3(cursor, buf);
    for (int k = 1; k <= kRelayChannels; ++k) {
        s.relays[k - 1] = (relayMask >> (k - 1)) & 1;
    }
    const int dimmerMask = Fun_Get1(cursor, buf);
    for (int k = 1; k <= kDimmerChannels; ++k) {
        if ((dimmerMask >> (k - 1)) & 1) {
            s.dimmerLevels[k - 1] = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
        }
    }
}

template <typename Field>
void putBlock(const SceneTable& t, Field field, RecordBuffer& buf, int& cursor) {
    for (int n = 1; n <= kSceneCount; ++n)
        Fun_Put1(t.at(n).*field, cursor, buf);
}

template <typename Field>
void getBlock(SceneTable& t, Field field, RecordBuffer& buf, int& cursor) {
    for (int n = 1; n <= kSceneCount; ++n) {
        t.at(n).*field = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
    }
}

// True when 4 bytes stand at the cursor; an absent optional tag is not damage.
bool hasTag(const RecordBuffer& buf, int cursor) {
    return cursor >= 0 && cursor <= buf.capacity() - 4;
}

bool parseScenes(SceneTable& t, RecordBuffer& buf, int& cursor) {
    cursor += kHeaderSize;
    std::array<int, kTableEntries> table{};
    Fun_GetInt16Table(table, cursor, buf);
    if (!buf.ok()) return false;
    for (int n = 1; n <= kSceneCount; ++n) {
        if (table[n - 1] <= 0) continue;
        cursor = table[n - 1];
        readRecord(t.at(n), buf, cursor);
        if (!buf.ok()) return false;
    }
    if (hasTag(buf, cursor) && Fun_GetTag(cursor, buf) == kSceneBlocksTag) {
        getBlock(t, &Scene::audioSource, buf, cursor);
    }
    // Without the block position the per-scene blocks and the extension cannot be found.
    if (table[kTableEntries - 1] <= 0) return buf.ok();
    cursor = table[kTableEntries - 1];
    getBlock(t, &Scene::wallPanelScene, buf, cursor);
    getBlock(t, &Scene::vodScene, buf, cursor);
    for (int n = 1; n <= kSceneCount; ++n)
        Fun_GetStr(t.at(n).name, kSceneTextMax, cursor, buf);
    for (QString& r : t.relayRemarks)
        Fun_GetStr(r, kSceneTextMax, cursor, buf);
    for (QString& r : t.dimmerRemarks)
        Fun_GetStr(r, kSceneTextMax, cursor, buf);
    if (!buf.ok()) return false;
    if (hasTag(buf, cursor) && Fun_GetTag(cursor, buf) == kSceneExtensionTag) {
        const int features = Fun_Get1(cursor, buf);
        Fun_Get1(cursor, buf);
        if (features & kSceneFeatureEffectorSound) getBlock(t, &Scene::effectorSound, buf, cursor);
    }
    return buf.ok();
}

}  // namespace

SceneTable::SceneTable() {
    applySpecialSceneNames(*this);
}

const std::array<QString, 5>& specialSceneNames() {
    static const std::array<QString, 5> names{QStringLiteral("全开"), QStringLiteral("全关"),
                                              QStringLiteral("静音/暂停"), QStringLiteral("合唱"),
                                              QStringLiteral("打碟电音")};
    return names;
}

bool isSceneNumber(int n) {
    return n >= 1 && n <= kSceneCount;
}
bool isSpecialScene(int n) {
    return n > kLastAssignableScene && n <= kSceneCount;
}

void resetScenes(SceneTable& t) {
    t.scenes.fill(Scene{});
    t.relayRemarks.fill(QString());
    t.dimmerRemarks.fill(QString());
}

void applySpecialSceneNames(SceneTable& t) {
    const auto& names = specialSceneNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        t.at(kLastAssignableScene + 1 + static_cast<int>(i)).name = names[i];
    }
}

bool sceneHasContent(const SceneTable& t, int n) {
    const Scene& s = t.at(n);
    if (s.effectNumber != 0 || s.mainsByDmx != 0) return true;
    for (auto r : s.relays) {
        if (r != 0) return true;
    }
    for (auto d : s.dimmerLevels) {
        if (d != 0) return true;
    }
    return false;
}

bool copyScene(SceneTable& t, int from, int to) {
    if (!isSceneNumber(from) || !isSceneNumber(to)) return false;
    const Scene& a = t.at(from);
    Scene& b = t.at(to);
    b.effectNumber = a.effectNumber;
    b.mainsByDmx = a.mainsByDmx;
    b.relays = a.relays;
    b.dimmerLevels = a.dimmerLevels;
    b.audioSource = a.audioSource;
    b.effectorSound = a.effectorSound;
    return true;
}

void setDefaultAssociations(SceneTable& t) {
    for (int n = 1; n <= kLastAssignableScene; ++n) {
        t.at(n).wallPanelScene = static_cast<std::uint8_t>(n);
        t.at(n).vodScene = static_cast<std::uint8_t>(n);
    }
}

bool setSceneName(SceneTable& t, int n, const QString& name) {
    if (!isSceneNumber(n) || isSpecialScene(n)) return false;
    t.at(n).name = name;
    return true;
}

bool setSceneEffect(SceneTable& t, int n, int effect) {
    if (!isSceneNumber(n) || !inRange(effect, kMaxEffectNumber)) return false;
    t.at(n).effectNumber = static_cast<std::uint8_t>(effect);
    return true;
}

bool setMainsByDmx(SceneTable& t, int n, int on) {
    if (!isSceneNumber(n) || !inRange(on, 1)) return false;
    t.at(n).mainsByDmx = static_cast<std::uint8_t>(on);
    return true;
}

bool setRelay(SceneTable& t, int n, int channel, int on) {
    if (!isSceneNumber(n) || !isChannel(channel, kRelayChannels) || !inRange(on, 1)) return false;
    t.at(n).relays[channel - 1] = static_cast<std::uint8_t>(on);
    return true;
}

bool setDimmerLevel(SceneTable& t, int n, int channel, int level) {
    if (!isSceneNumber(n) || !isChannel(channel, kDimmerChannels) ||
        !inRange(level, kMaxDimmerLevel)) {
        return false;
    }
    t.at(n).dimmerLevels[channel - 1] = static_cast<std::uint8_t>(level);
    return true;
}

bool setAudioSource(SceneTable& t, int n, int source) {
    if (!isSceneNumber(n) || !inRange(source, kMaxAudioSource)) return false;
    t.at(n).audioSource = static_cast<std::uint8_t>(source);
    return true;
}

bool setWallPanelScene(SceneTable& t, int n, int wallPanelScene) {
    if (!isSceneNumber(n) || isSpecialScene(n) || !inRange(wallPanelScene, kMaxAssociation)) {
        return false;
    }
    t.at(n).wallPanelScene = static_cast<std::uint8_t>(wallPanelScene);
    return true;
}

bool setVodScene(SceneTable& t, int n, int vodScene) {
    if (!isSceneNumber(n) || isSpecialScene(n) || !inRange(vodScene, kMaxAssociation)) {
        return false;
    }
    t.at(n).vodScene = static_cast<std::uint8_t>(vodScene);
    return true;
}

bool setEffectorSound(SceneTable& t, int n, int sound) {
    if (!isSceneNumber(n) || !inRange(sound, kMaxEffectorSound)) return false;
    t.at(n).effectorSound = static_cast<std::uint8_t>(sound);
    return true;
}

bool setRelayRemark(SceneTable& t, int channel, const QString& remark) {
    if (!isChannel(channel, kRelayChannels)) return false;
    t.relayRemarks[channel - 1] = remark;
    return true;
}

bool setDimmerRemark(SceneTable& t, int channel, const QString& remark) {
    if (!isChannel(channel, kDimmerChannels)) return false;
    t.dimmerRemarks[channel - 1] = remark;
    return true;
}

void saveScenesSection(const SceneTable& t, RecordBuffer& buf, int& cursor) {
    Fun_BeginSection(kSectionScenes, kScenesTag, cursor, buf);
    const int header = cursor;
    const std::array<std::uint8_t, kHeaderSize> zeros{};
    Fun_PutBytes(kHeaderSize, zeros, cursor, buf);
    const int tablePosition = cursor;
    cursor += 2 * kTableEntries;
    std::array<int, kTableEntries> table{};
    for (int n = 1; n <= kSceneCount; ++n) {
        if (!sceneHasContent(t, n)) continue;
        table[n - 1] = cursor;
        writeRecord(t.at(n), buf, cursor);
    }
    Fun_PutTag(kSceneBlocksTag, cursor, buf);
    putBlock(t, &Scene::audioSource, buf, cursor);
    table[kTableEntries - 1] = cursor;
    putBlock(t, &Scene::wallPanelScene, buf, cursor);
    putBlock(t, &Scene::vodScene, buf, cursor);
    for (int n = 1; n <= kSceneCount; ++n)
        Fun_PutStr(t.at(n).name, kSceneTextMax, cursor, buf);
    for (const QString& r : t.relayRemarks)
        Fun_PutStr(r, kSceneTextMax, cursor, buf);
    for (const QString& r : t.dimmerRemarks)
        Fun_PutStr(r, kSceneTextMax, cursor, buf);
    Fun_PutAt4(cursor, header, buf);
    Fun_PutTag(kSceneExtensionTag, cursor, buf);
    Fun_Put1(kSceneFeatureEffectorSound, cursor, buf);
    Fun_Put1(0, cursor, buf);
    putBlock(t, &Scene::effectorSound, buf, cursor);
    // A position the 16-bit table cannot hold would send readers elsewhere.
    for (int position : table) {
        if (position > kMaxPosition16) buf.fail();
    }
    Fun_PutInt16Table(tablePosition, table, buf);
}

bool loadScenesSection(SceneTable& t, RecordBuffer& buf, int& cursor) {
    resetScenes(t);
    if (Fun_FindSection(kSectionScenes, kScenesTag, cursor, buf)) {
        SceneTable parsed;
        resetScenes(parsed);
        if (!parseScenes(parsed, buf, cursor)) return false;
        t = std::move(parsed);
    }
    applySpecialSceneNames(t);
    return true;
}

SectionRoutine scenesSectionRoutine(SceneTable& t) {
    return {
        kSectionScenes, kScenesTag,
        [&t](RecordBuffer& buf, int& cursor, SectionScratch) { saveScenesSection(t, buf, cursor); },
        [&t](RecordBuffer& buf, int& cursor, SectionScratch, QStringList&) {
            return loadScenesSection(t, buf, cursor);
        }};
}

}  // namespace kx
