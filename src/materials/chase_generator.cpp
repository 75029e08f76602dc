#include "materials/chase_generator.h"

#include <optional>

namespace kx {

namespace {

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

int valueOr(const QString& text, int fallback) {
    const auto n = wholeNumber(text);
    return n && *n >= 0 && *n <= 255 ? *n : fallback;
}

void fillFixture(Material& m, int step, int fixture, int value) {
    for (int k = 1; k <= m.channelCount(); ++k)
        m.setValue(step, fixture, k, value);
}

}  // namespace

ChaseResult generateChase(Material& m, const ChaseFields& fields) {
    if (fields.type != kChaseTypeHeadToTail) return {false, kMsgNoChaseType};
    clearSteps(m);
    const int on = valueOr(fields.onValue, kChaseDefaultOn);
    const int off = valueOr(fields.offValue, kChaseDefaultOff);
    const int lit = wholeNumber(fields.litCount).value_or(1);
    const int n = m.fixtureCount();
    int start = wholeNumber(fields.startPosition).value_or(1);
    if (start < 1 || start > n) start = 1;

    ChaseResult result{true, {}};
    int head = start;
    int step = 0;
    do {
        ++step;
        m.setStepCount(step);
        QString line = QStringLiteral("步%1：").arg(step, 3, 10, QChar('0'));
        for (int v = 1; v <= n; ++v)
            fillFixture(m, step, v, off);
        for (int k = 0; k < lit; ++k) {
            int q = head - k;
            if (q < 1) q += n;
            if (q < 1 || q > n) continue;
            if (fields.reverse) q = n - q + 1;
            fillFixture(m, step, q, on);
            line += QStringLiteral("%1 ").arg(q, 2, 10, QChar('0'));
        }
        result.information += line + QStringLiteral("\r\n");
        if (++head > n) head = 1;
    } while (head != start);
    return result;
}

QStringList chaseTypeEntries() {
    return {kChaseTypeNone, kChaseTypeHeadToTail};
}

QStringList chasePositionEntries(int fixtureCount) {
    QStringList entries;
    for (int i = 1; i <= fixtureCount; ++i)
        entries << QString::number(i);
    return entries;
}

QStringList chaseValueEntries() {
    QStringList entries;
    for (int i = 0; i <= 255; ++i)
        entries << QString::number(i);
    return entries;
}

}  // namespace kx
