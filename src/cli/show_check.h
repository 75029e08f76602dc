#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace kx {

// One thing wrong with a Show File: the section it concerns (0: the file as a whole), the byte
// position where known (-1 otherwise) and what is wrong.
struct CheckFinding {
    int section = 0;
    int position = -1;
    QString text;
};

// The section directory on its own: every entry of a known section that is not zero must lead,
// inside the file, to EE EE EE EE and the section's tag.
std::vector<CheckFinding> checkShowDirectory(const QByteArray& bytes);

// Everything the window's readers find in the file (the Materials reader parses every Effect
// Material Image); empty when the window would load it without a message.
std::vector<CheckFinding> checkShow(const QByteArray& bytes);

// "Materials (section 11) at byte 1234: ..." for one finding.
QString findingText(const CheckFinding& finding);

}  // namespace kx
