#pragma once

#include <QString>

namespace kx {

inline constexpr char kProductName[] = "KX-7420";
inline constexpr char kProgramVersion[] = "A14.2";

// The main window caption for the Show File path p. With appearance customisation on, the
// customised title replaces the product name and the version shows only when asked for.
struct CaptionStyle {
    bool customised = false;
    QString customTitle;
    bool showVersion = true;
};

QString mainCaption(const QString& path, const CaptionStyle& style = {});

}  // namespace kx
