#include "materials/step_operations.h"

#include <algorithm>
#include <optional>

#include "base/file_io.h"
#include "storage/record_buffer.h"
#include "storage/record_io.h"

namespace kx {

namespace {

inline const QString kMsgCopyFailed = QStringLiteral("复制失败！！！");

void refreshed(StepContext& ctx) {
    if (ctx.refresh) ctx.refresh();
}

int recordSize(int fixtures, int channels) {
    return kStepRecordFixedSize + fixtures * channels;
}

// The clipboard's bytes once they passed every check against the current Material; otherwise
// nothing, and the refusal's message in refusal.
std::optional<QByteArray> clipboardFor(const Material& m, const QString& path, QString& refusal) {
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        refusal = kMsgPasteNoFile;
        return std::nullopt;
    }
    refusal = stepClipboardRefusal(*bytes, m);
    if (!refusal.isEmpty()) return std::nullopt;
    return bytes;
}

}  // namespace

QString stepClipboardRefusal(const QByteArray& bytes, const Material& m) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes);
    int cursor = 0;
    if (bytes.size() < kStepClipboardHeaderSize || Fun_GetTag(cursor, buf) != kStepClipboardTag)
        return kMsgPasteBadFile;
    const int fixtures = Fun_GetAt1(5, buf);
    const int channels = Fun_GetAt1(6, buf);
    const int count = Fun_GetAt1(7, buf);
    if (fixtures != m.fixtureCount()) return kMsgPasteFixtures;
    if (channels != m.channelCount()) return kMsgPasteChannels;
    if (count == 0) return kMsgPasteNoSteps;
    if (bytes.size() < kStepClipboardHeaderSize + qsizetype{count} * recordSize(fixtures, channels))
        return kMsgPasteBadFile;
    return {};
}

void pasteStepClipboard(Material& m, int at, const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const int count = data[7];
    const int cells = m.cellsPerStep();
    for (int i = 0; i < count && at + i <= kMaxSteps; ++i) {
        const int s = at + i;
        if (s > m.stepCount()) m.setStepCount(s);
        const auto* rec =
            data + kStepClipboardHeaderSize + i * recordSize(m.fixtureCount(), m.channelCount());
        m.setStepTime(s, static_cast<std::int16_t>(rec[0] << 8 | rec[1]));
        m.setFadeToNext(s, rec[2] == 1 ? 1 : 0);
        m.setJumpMark(s, rec[3] == 1 ? 1 : 0);
        const auto* values = rec + kStepRecordFixedSize;
        if (std::all_of(values, values + cells, [](std::uint8_t v) { return v == 0; })) {
            m.clearStepValues(s);
        } else {
            std::copy_n(values, cells, m.stepValues(s).begin());
        }
    }
}

void previousStep(StepContext& ctx) {
    if (ctx.currentStep > 1 || (ctx.currentStep == 1 && ctx.material.stepCount() == 0)) {
        --ctx.currentStep;
        refreshed(ctx);
    }
}

void nextStep(StepContext& ctx) {
    if (ctx.currentStep != 0 && ctx.currentStep < ctx.material.stepCount()) {
        ++ctx.currentStep;
        refreshed(ctx);
    }
}

void selectStep(StepContext& ctx, int listPosition) {
    if (listPosition < 0 || listPosition >= ctx.material.stepCount()) return;
    ctx.currentStep = listPosition + 1;
    refreshed(ctx);
}

Outcome addStep(StepContext& ctx, bool copy, int fieldTime) {
    Material& m = ctx.material;
    const int n = m.stepCount();
    if (n >= kMaxSteps) return Outcome::refused(kMsgMaxSteps);
    const int s = std::clamp(ctx.currentStep, 0, n);
    const int t = s + 1;
    m.setStepCount(n + 1);
    if (s != n && n >= 2)
        for (int k = n; k >= s; --k)
            m.copyStepContent(k, k + 1);
    if (copy) {
        m.copyStepContent(s, t);
    } else {
        m.clearStepValues(t);
        m.setStepTime(t, fieldTime);
    }
    ctx.currentStep = t;
    refreshed(ctx);
    return Outcome::success();
}

void deleteStep(StepContext& ctx) {
    Material& m = ctx.material;
    const int n = m.stepCount();
    if (n > 1 && ctx.currentStep == n) {
        m.setStepCount(n - 1);
        ctx.currentStep = n - 1;
    } else if (n > 1) {
        for (int k = std::max(ctx.currentStep, 0) + 1; k <= n; ++k)
            m.copyStepContent(k, k - 1);
        m.setStepCount(n - 1);
    } else {
        ctx.currentStep = 0;
        m.setStepCount(0);
        m.clearStepValues(0);
    }
    refreshed(ctx);
}

void autoAddFirstStep(StepContext& ctx) {
    if (ctx.material.stepCount() == 0) addStep(ctx, true, 0);
}

Outcome checkStepCopy(const Material& m, int copyCount) {
    if (m.fixtureCount() == 0) return Outcome::refused(kMsgNoFixtures);
    if (m.channelCount() == 0) return Outcome::refused(kMsgNoChannels);
    if (copyCount < 1) return Outcome::refused(kMsgNoCopyCount);
    return Outcome::success();
}

QByteArray buildStepClipboard(const Material& m, int first, int count) {
    const int F = m.fixtureCount();
    const int C = m.channelCount();
    RecordBuffer buf(kStepClipboardHeaderSize + count * recordSize(F, C));
    int cursor = 0;
    Fun_PutTag(kStepClipboardTag, cursor, buf);
    Fun_Put1(kStepClipboardFormat, cursor, buf);
    Fun_Put1(F, cursor, buf);
    Fun_Put1(C, cursor, buf);
    Fun_Put1(count, cursor, buf);
    cursor = kStepClipboardHeaderSize;
    for (int s = first; s < first + count; ++s) {
        const StepInfo info = m.stepInfo(s);
        Fun_Put2(info.stepTime, cursor, buf);
        Fun_Put1(info.fadeToNext, cursor, buf);
        Fun_Put1(info.jumpMark, cursor, buf);
        cursor += 20;
        const auto row = m.stepValues(s);
        if (!row.empty())
            Fun_PutBytes(F * C, row, cursor, buf);
        else
            cursor += F * C;
    }
    return buf.bytes(cursor);
}

Outcome copySteps(StepContext& ctx, int copyCount) {
    if (Outcome check = checkStepCopy(ctx.material, copyCount); !check.done) return check;
    const int first = std::max(ctx.currentStep, 0);
    const int count = std::min({copyCount, kMaxSteps - first + 1, kMaxClipboardSteps});
    if (!writeWholeFile(ctx.clipboardPath, buildStepClipboard(ctx.material, first, count)))
        return Outcome::refused(kMsgCopyFailed);
    return Outcome::success();
}

Outcome pasteSteps(StepContext& ctx, int copyCount) {
    if (Outcome check = checkStepCopy(ctx.material, copyCount); !check.done) return check;
    QString refusal;
    const auto bytes = clipboardFor(ctx.material, ctx.clipboardPath, refusal);
    if (!bytes) return Outcome::refused(refusal);
    pasteStepClipboard(ctx.material, std::max(ctx.currentStep, 0), *bytes);
    refreshed(ctx);
    return Outcome::success();
}

Outcome pasteStepsAtEnd(StepContext& ctx, int copyCount, int fieldTime) {
    if (Outcome check = checkStepCopy(ctx.material, copyCount); !check.done) return check;
    QString refusal;
    const auto bytes = clipboardFor(ctx.material, ctx.clipboardPath, refusal);
    if (!bytes) return Outcome::refused(refusal);
    ctx.currentStep = ctx.material.stepCount();
    if (Outcome added = addStep(ctx, false, fieldTime); !added.done) return added;
    pasteStepClipboard(ctx.material, ctx.currentStep, *bytes);
    refreshed(ctx);
    return Outcome::success();
}

Outcome toggleTemporaryChannel(Material& m, int code) {
    if (m.toggleTempChannel(code) == TempChannelToggle::Full)
        return Outcome::refused(kMsgTempChannelsFull);
    return Outcome::success();
}

}  // namespace kx
