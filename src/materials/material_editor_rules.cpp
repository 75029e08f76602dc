#include "materials/material_editor_rules.h"

#include <QRegularExpression>
#include <cstdint>

namespace kx {

std::optional<MaterialColour> fieldColour(FieldMark mark, const MaterialEditorColours& colours) {
    switch (mark) {
        case FieldMark::Invalid:
            return colours.invalid;
        case FieldMark::InvalidTime:
            return colours.invalidTime;
        case FieldMark::Keep:
        case FieldMark::Normal:
            break;
    }
    return std::nullopt;
}

std::optional<int> parseWholeNumber(const QString& text) {
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?\\d{1,9}\\s*$"));
    if (!whole.match(text).hasMatch()) return std::nullopt;
    return text.trimmed().toInt();
}

TimeEntry parseTimeEntry(const QString& text) {
    const auto n = parseWholeNumber(text);
    if (!n) return {};
    if (*n >= kTimeEntryLimit) return {TimeEntryKind::TooLarge, *n};
    if (*n < INT16_MIN || *n > INT16_MAX) return {};
    return {TimeEntryKind::Time, *n};
}

QString timeText(int tenths) {
    return QString::number(tenths / 10.0, 'f', 1) + QStringLiteral("秒");
}

std::optional<int> parseInRange(const QString& text, int low, int high) {
    const auto n = parseWholeNumber(text);
    if (!n || *n < low || *n > high) return std::nullopt;
    return n;
}

QStringList numberList(int low, int high) {
    QStringList list;
    for (int n = low; n <= high; ++n)
        list << QString::number(n);
    return list;
}

QStringList brightnessList() {
    QStringList list;
    for (int b = 100; b >= 0; --b)
        list << QString::number(b);
    return list;
}

QStringList startModeList() {
    return {"效果选择", "密集鼓点", "喝彩", "倒彩", "烟机按钮", "摇麦触发", "场景切换运行"};
}

QStringList virtualDimmingList() {
    return {"无", "被虚拟总调光控制", "通道1做虚拟总调光"};
}

QStringList hardwareSpeedList() {
    return {"x1", "x2", "x3"};
}

QStringList motionModeList() {
    return {"无", "画圆"};
}

int channelPageOf(int channel) {
    return channel > kFadersOnScreen ? 1 : 0;
}

int faderSlotOf(int channel) {
    return (channel - 1) % kFadersOnScreen + 1;
}

bool channelOnScreen(int channel, int channelCount, int page) {
    return channel >= 1 && channel <= channelCount && channelPageOf(channel) == page;
}

std::vector<int> codesOnPage(int page) {
    std::vector<int> codes;
    const int first = page == 0 ? 0 : kCodesOnFirstPage;
    const int last = page == 0 ? kCodesOnFirstPage - 1 : 255;
    for (int c = first; c <= last; ++c)
        codes.push_back(c);
    return codes;
}

int codePageOf(int code) {
    return code >= kCodesOnFirstPage ? 1 : 0;
}

QString codePageButtonCaption(int page) {
    return page == 0 ? QStringLiteral("下一页") : QStringLiteral("上一页");
}

QString definitionCaption(const QString& functionName, int code) {
    return functionName.isEmpty() ? QStringLiteral("T=") + QString::number(code) : functionName;
}

QString timeCaptionFor(bool perStepTime) {
    return perStepTime ? QStringLiteral("单步时间") : QStringLiteral("统一时间");
}

QString totalStepsCaption(int stepCount) {
    return QStringLiteral("总步数：") + QString::number(stepCount);
}

}  // namespace kx
