#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "cli/show_reading.h"

namespace kx {

// What a show holds, as one document: its sections and their sizes, the patched fixtures by page
// and port, the Effects with content, the Scenes with their Effects, the Room Control fields that
// differ from the defaults and the save stamp. bytes are the file the show was read from.
QJsonObject showInfo(const LoadedShow& loaded, const QByteArray& bytes);
// The same document as lines for a reader.
QString showInfoText(const QJsonObject& info);

}  // namespace kx
