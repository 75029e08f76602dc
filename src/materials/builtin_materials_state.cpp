#include "materials/builtin_materials_state.h"

namespace kx {

BuiltInColours builtInColours(bool customised, std::uint32_t customNormal,
                              std::uint32_t customHighlight) {
    if (!customised) return {};
    return {customNormal, customHighlight, customHighlight};
}

void BuiltInMaterialsState::openLibrary(const QString& library) {
    if (m_shown && m_library == library) {
        hide();
        return;
    }
    m_library = library;
    list();
    m_shown = true;
}

void BuiltInMaterialsState::hide() {
    m_shown = false;
    m_descriptionShown = false;
}

void BuiltInMaterialsState::selectCategory(int category) {
    if (category < 1 || category > kBuiltInCategoryCount) return;
    m_descriptionShown = false;
    m_category = category;
    list();
}

void BuiltInMaterialsState::list() {
    m_entries = listBuiltInMaterials(builtInFolder(m_appSet, m_library, m_category));
}

BuiltInEntry BuiltInMaterialsState::entry(int n) const {
    if (n < 1 || n > static_cast<int>(m_entries.size())) return {};
    return m_entries[n - 1];
}

void BuiltInMaterialsState::showDescription(int n) {
    m_description = builtInDescription(entry(n));
    m_descriptionShown = true;
}

std::uint32_t BuiltInMaterialsState::libraryColour(const QString& library,
                                                   const BuiltInColours& colours) const {
    return m_shown && m_library == library ? colours.library : colours.normal;
}

std::uint32_t BuiltInMaterialsState::categoryColour(int category,
                                                    const BuiltInColours& colours) const {
    return category == m_category ? colours.category : colours.normal;
}

}  // namespace kx
