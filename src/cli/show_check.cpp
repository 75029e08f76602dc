#include "cli/show_check.h"

#include <algorithm>

#include "cli/show_reading.h"
#include "storage/record_io.h"

namespace kx {

namespace {

inline const QString kFrameMark = QStringLiteral("EEEEEEEE");

}  // namespace

std::vector<CheckFinding> checkShowDirectory(const QByteArray& bytes) {
    SectionRoutines frames;
    for (const SectionTag& s : showSectionTags())
        frames.push_back({s.number, s.tag, {}, {}});
    std::vector<CheckFinding> findings;
    RecordBuffer buf = RecordBuffer::fromBytes(bytes.left(kShowFileCapacity));
    // The window's own test of which entries lead nowhere; what was found there is the detail.
    for (const int number : unreachableSections(bytes, frames)) {
        const int position = Fun_GetAt4(4 * number, buf);
        if (position < 4 || position > buf.capacity() - 4) {
            findings.push_back({number, position,
                                QStringLiteral("directory entry points outside the file (%1 bytes)")
                                    .arg(buf.capacity())});
            continue;
        }
        int cursor = position - 4;
        const QString mark = Fun_GetTag(cursor, buf);
        const QString tag = Fun_GetTag(cursor, buf);
        const QString expected =
            std::find_if(frames.begin(), frames.end(), [number](const auto& f) {
                return f.number == number;
            })->tag;
        findings.push_back(
            {number, position,
             QStringLiteral("directory entry points at no section (found %1 %2, expected %3 %4)")
                 .arg(mark, tag, kFrameMark, expected)});
    }
    return findings;
}

std::vector<CheckFinding> checkShow(const QByteArray& bytes) {
    std::vector<CheckFinding> findings;
    if (bytes.isEmpty()) {
        findings.push_back({0, -1, QStringLiteral("the file is empty")});
        return findings;
    }
    const auto loaded = readShowBytes(bytes);
    if (loaded->parse == ParseResult::WrongTag) {
        findings.push_back(
            {0, 0, QStringLiteral("not a Show File: the tag is not %1").arg(kShowFileTag)});
        return findings;
    }
    findings = checkShowDirectory(bytes);
    if (loaded->parse == ParseResult::Damaged) {
        RecordBuffer buf = RecordBuffer::fromBytes(bytes.left(kShowFileCapacity));
        const int s = loaded->damagedSection;
        const int at = s > 0 && 4 * s + 4 <= buf.capacity() ? Fun_GetAt4(4 * s, buf) : -1;
        findings.push_back(
            {s, at,
             QStringLiteral("damaged: a position, count or length points outside the "
                            "file (%1 bytes); the window refuses it with \"%2\"")
                 .arg(bytes.size())
                 .arg(kMsgShowFormat)});
        return findings;
    }
    // The Materials reader has parsed every Effect Material Image on its way.
    for (const QString& note : loaded->notes)
        findings.push_back({0, -1, QStringLiteral("the window says \"%1\"").arg(note)});
    return findings;
}

QString findingText(const CheckFinding& finding) {
    QString where;
    if (finding.section > 0) {
        where = QStringLiteral("%1 (section %2)")
                    .arg(sectionTerm(finding.section))
                    .arg(finding.section);
    } else {
        where = QStringLiteral("file");
    }
    if (finding.position >= 0) where += QStringLiteral(" at byte %1").arg(finding.position);
    return where + ": " + finding.text;
}

}  // namespace kx
