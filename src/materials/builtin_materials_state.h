#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "materials/builtin_materials.h"

namespace kx {

// The button colours of the built-in materials panel (0x00BBGGRR): grey buttons, the open
// library's button yellow and the current category's button pink, unless the installation's
// full scheme gives its own normal and highlight colours.
struct BuiltInColours {
    std::uint32_t normal = 0xC0C0C0;
    std::uint32_t library = 0x00FFFF;
    std::uint32_t category = 0x807FFF;
};
BuiltInColours builtInColours(bool customised, std::uint32_t customNormal,
                              std::uint32_t customHighlight);

// The rules of the built-in materials panel: which library it shows, the current category (kept
// for the whole run and shared by both libraries), the listing and the description box.
class BuiltInMaterialsState {
  public:
    explicit BuiltInMaterialsState(QString appSetDir) : m_appSet(std::move(appSetDir)) {}

    // "标准素材" / "个性素材": shows the panel with that library listed, or hides it when it
    // already shows that library.
    void openLibrary(const QString& library);
    // "隐藏", and what a finished import does: hides the panel and its description box.
    void hide();
    // A category button: hides the description box, makes the category current and lists again.
    void selectCategory(int category);
    // Lists the current library and category again.
    void list();
    // Right click on entry 1-40: the description box over the listing.
    void showDescription(int entry);
    void hideDescription() { m_descriptionShown = false; }

    bool shown() const { return m_shown; }
    const QString& library() const { return m_library; }  // the panel's title
    int category() const { return m_category; }
    const std::vector<BuiltInEntry>& entries() const { return m_entries; }
    // Entry 1-40; nothing (no caption, no path) where no file is listed.
    BuiltInEntry entry(int n) const;
    bool descriptionShown() const { return m_descriptionShown; }
    const QString& description() const { return m_description; }

    // The library button's colour: highlighted only while the panel shows that library.
    std::uint32_t libraryColour(const QString& library, const BuiltInColours& colours) const;
    std::uint32_t categoryColour(int category, const BuiltInColours& colours) const;

  private:
    QString m_appSet;
    QString m_library;
    bool m_shown = false;
    int m_category = 1;
    std::vector<BuiltInEntry> m_entries;
    bool m_descriptionShown = false;
    QString m_description;
};

}  // namespace kx
