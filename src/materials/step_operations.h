#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "base/outcome.h"
#include "materials/material.h"

namespace kx {

// The step clipboard file SC_COPY: tag "F10501A1", format byte A1, the source's fixtureCount and
// channelCount, the Step count n, 200 reserved bytes, then n Step records (stepTime 2 bytes,
// fadeToNext, jumpMark, 20 reserved bytes, fixtureCount x channelCount values).
inline const QString kStepClipboardTag = QStringLiteral("F10501A1");
inline constexpr int kStepClipboardFormat = 0xA1;
inline constexpr int kStepClipboardHeaderSize = 208;
inline constexpr int kStepRecordFixedSize = 24;
inline constexpr int kMaxClipboardSteps = 255;  // the count is one byte

inline const QString kMsgMaxSteps = QStringLiteral("已经是最大步数!!!");
inline const QString kMsgNoFixtures = QStringLiteral("灯具数量不能为0");
inline const QString kMsgNoChannels = QStringLiteral("通道数量不能为0");
inline const QString kMsgNoCopyCount = QStringLiteral("复制步数不能为0");
inline const QString kMsgPasteNoFile = QStringLiteral("粘贴错误！");
inline const QString kMsgPasteBadFile = QStringLiteral("粘贴错误！！！");
inline const QString kMsgPasteFixtures = QStringLiteral("灯具数不一致！！！");
inline const QString kMsgPasteChannels = QStringLiteral("通道数一致！！！");
inline const QString kMsgPasteNoSteps = QStringLiteral("所复制的步为0");
inline const QString kMsgTempChannelsFull = QStringLiteral("最多支持20个通道");

// What the Step operations act on: the current Material and the Material editor's current Step,
// the step clipboard file, and the editor's refresh, run after every change. The operations that
// can be refused return the refusal's message for the editor to show.
struct StepContext {
    Material& material;
    int& currentStep;
    QString clipboardPath;
    std::function<void()> refresh;
};

void previousStep(StepContext& ctx);
void nextStep(StepContext& ctx);
// List position i (0-based) makes Step i + 1 current.
void selectStep(StepContext& ctx, int listPosition);

// "加一步" (copy off) and "复制加一步" (copy on): a new Step after the current one, which becomes
// current. Without copy it gets fieldTime (the editor's Step-time box) and zero values.
Outcome addStep(StepContext& ctx, bool copy, int fieldTime);
// "删除步", without confirmation.
void deleteStep(StepContext& ctx);
// After a value was entered while the Material has no Steps: Step 1 from the scratch Step.
void autoAddFirstStep(StepContext& ctx);

// The common check of copy, paste and tail paste, with its messages.
Outcome checkStepCopy(const Material& m, int copyCount);
// "复制步": Steps current .. current + count - 1 (stopping at Step 600 and at 255 Steps).
Outcome copySteps(StepContext& ctx, int copyCount);
// "粘贴步": the clipboard's Steps from the current Step on (stopping at Step 600).
Outcome pasteSteps(StepContext& ctx, int copyCount);
// "尾部粘贴": the clipboard's Steps after the last Step. The clipboard is checked before the new
// last Step is added, so a refused paste leaves the Material as it was.
Outcome pasteStepsAtEnd(StepContext& ctx, int copyCount, int fieldTime);

// The file's bytes for Steps first .. first + count - 1 of m.
QByteArray buildStepClipboard(const Material& m, int first, int count);
// Why the clipboard's bytes cannot be pasted into m (the refusal's message), or "" when they can.
QString stepClipboardRefusal(const QByteArray& bytes, const Material& m);
// Writes the Steps of checked clipboard bytes from Step `at` on; the Material grows to hold them,
// up to Step 600.
void pasteStepClipboard(Material& m, int at, const QByteArray& bytes);

// A Temporary Channel button: removes a listed code or adds it; a full list is refused with
// "最多支持20个通道" and changes nothing.
Outcome toggleTemporaryChannel(Material& m, int code);

}  // namespace kx
