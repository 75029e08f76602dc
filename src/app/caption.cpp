#include "app/caption.h"

namespace kx {

QString mainCaption(const QString& path, const CaptionStyle& style) {
    const QString tail = "    [ " + path + " ]";
    if (!style.customised) return QString(kProductName) + " " + kProgramVersion + tail;
    if (style.showVersion) return style.customTitle + " " + kProgramVersion + tail;
    return style.customTitle + tail;
}

}  // namespace kx
