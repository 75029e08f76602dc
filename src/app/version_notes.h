#pragma once

#include <QString>
#include <QStringList>

namespace kx {

// The lines of the version notes as they are appended, newest version first: per version a
// heading, its numbered notes and one empty line.
QStringList versionNoteLines();

// What Fun_Text_in appends for one line: the line and CR LF. Under the full appearance scheme a
// heading ("////...") loses its slashes and the product name, gets a row of 55 slashes in front
// and one more CR LF behind.
QString versionNoteEntry(const QString& line, bool customised);

// The whole text of the notes window.
QString versionNotesText(bool customised);

}  // namespace kx
