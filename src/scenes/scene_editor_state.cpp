#include "scenes/scene_editor_state.h"

namespace kx {

SceneEditorColours sceneEditorColours(const Appearance& a) {
    SceneEditorColours c;
    if (!a.customised) return c;
    using K = ColourKey;
    c.sceneSelected = a.colour(K::场景_场景选择按钮);
    c.sceneOther = a.colour(K::场景_场景未选择按钮显示);
    c.effectSelectedValid = a.colour(K::场景_效果选择按钮_有效);
    c.effectSelectedInvalid = a.colour(K::场景_效果选择按钮_无效);
    c.effectOtherValid = a.colour(K::场景_效果未选择按钮显示_有效);
    c.effectOtherInvalid = a.colour(K::场景_效果未选择按钮显示_无效);
    return c;
}

QString sceneButtonCaption(const SceneTable& t, int n) {
    const Scene& s = t.at(n);
    QString caption = QString::number(n);
    if (!s.name.isEmpty()) caption += "-" + s.name;
    return s.effectNumber != 0 ? "[" + caption + "]" : caption;
}

bool sceneFramesShown(int n) {
    return n <= kLastAssignableScene;
}

bool effectUsedByAScene(const SceneTable& t, int effect) {
    for (int n = 1; n <= kSceneCount; ++n) {
        if (t.at(n).effectNumber == effect) return true;
    }
    return false;
}

QString effectButtonCaption(int effect, const QString& remark, bool used) {
    const QString caption = remark.isEmpty() ? QString::number(effect) : remark;
    return used ? "[" + caption + "]" : caption;
}

Bgr effectButtonColour(bool valid, bool selected, const SceneEditorColours& c) {
    if (selected) return valid ? c.effectSelectedValid : c.effectSelectedInvalid;
    return valid ? c.effectOtherValid : c.effectOtherInvalid;
}

int toggledEffect(int current, int clicked) {
    return current == clicked ? 0 : clicked;
}

int openingScene(int remembered) {
    return isSceneNumber(remembered) ? remembered : 1;
}

std::optional<QString> sceneReportText(std::uint8_t code, std::span<const std::uint8_t> data) {
    if (code != kSceneReportCode || data.size() < 4 || data[0] != kSceneReportTag)
        return std::nullopt;
    const auto twoDigits = [](std::uint8_t v) { return ("0" + QString::number(v)).right(2); };
    const QString scene = "C-" + twoDigits(data[3]);
    if (data[1] > 1) return scene;
    return (data[1] == 0 ? "A-" : "B-") + twoDigits(data[2]) + "  " + scene;
}

QStringList sceneRemarkSuggestions() {
    return {"动感", "柔和", "明亮", "抒情/标准", "浪漫", "清洁", "商务", "朦胧", "激情", "演唱会"};
}

QStringList audioSourceEntries() {
    QStringList entries;
    for (int s = 0; s <= kMaxAudioSource; ++s)
        entries << "CH" + QString::number(s + 1);
    return entries;
}

QStringList effectorSoundEntries() {
    return {"无", "1整蛊", "2唱将", "3和声", "4搞怪", "5迪曲", "6电影"};
}

QStringList associationEntries() {
    QStringList entries;
    for (int n = 0; n < kAssociationEntries; ++n)
        entries << QString::number(n);
    return entries;
}

}  // namespace kx
