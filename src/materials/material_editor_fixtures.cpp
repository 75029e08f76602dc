// The Material window's fixture panel (counts and patching onto the library) and its Motion
// Generator panel.
#include "fixtures/fixture_editor_state.h"
#include "materials/material_editor.h"
#include "materials/motion_generator.h"

namespace kx {

// --- Fixture panel

Outcome MaterialEditor::openFixturePanel() {
    m_fixturePanelOpen = true;
    m_patchedFixture = 1;
    // The group buttons need the groups, kept in their own file.
    const QString message =
        loadFixtureGroups(m_src.groups, m_paths.fixtureGroups, false, m_paths.backupDir);
    announce(MaterialAspect::FixturePanel);
    return {true, message};
}

void MaterialEditor::closeFixturePanel() {
    m_fixturePanelOpen = false;
    announce(MaterialAspect::FixturePanel);
}

FieldMark MaterialEditor::typeFixtureCount(const QString& text) {
    const auto edit = recordEdit(QStringLiteral("灯具数"));
    const auto n = parseInRange(text, 0, kMaxVirtualFixtures);
    if (!n) return FieldMark::Invalid;
    material().setFixtureCount(*n);
    announce(MaterialAspect::Channels);
    return FieldMark::Normal;
}

FieldMark MaterialEditor::typeChannelCount(const QString& text) {
    const auto edit = recordEdit(QStringLiteral("通道数"));
    const auto n = parseInRange(text, 0, kMaxMaterialChannels);
    if (!n) return FieldMark::Invalid;
    material().setChannelCount(*n);
    announce(MaterialAspect::Channels);
    return FieldMark::Normal;
}

void MaterialEditor::choosePatchedFixture(int fixture) {
    if (fixture < 1 || fixture > kMaxVirtualFixtures) return;
    m_patchedFixture = fixture;
    announce(MaterialAspect::FixturePanel);
}

MaterialColour MaterialEditor::patchButtonColour(int fixture) const {
    return fixture == m_patchedFixture ? m_colours.current : m_colours.normal;
}

void MaterialEditor::chooseLibraryPage(int page) {
    if (page < 0 || page >= libraryPages) return;
    m_libraryPage = page;
    announce(MaterialAspect::FixturePanel);
}

MaterialColour MaterialEditor::libraryPageColour(int page) const {
    return page == m_libraryPage ? m_colours.activeLibraryPage : m_colours.normal;
}

bool MaterialEditor::libraryFixtureShown(int number) const {
    return number >= 1 && number <= kFixturesPerPage &&
           isPatched(m_src.library, m_libraryPage, number);
}

QString MaterialEditor::libraryFixtureCaption(int number) const {
    if (number < 1 || number > kFixturesPerPage) return {};
    return m_src.library.at(m_libraryPage, number).name;
}

QString MaterialEditor::libraryFixturePlace(int number) const {
    if (number < 1 || number > kFixturesPerPage) return {};
    const Fixture& f = m_src.library.at(m_libraryPage, number);
    return QStringLiteral("页%1 %2-%3")
        .arg(m_libraryPage + 1)
        .arg(portName(f.port))
        .arg(f.startAddress);
}

MaterialColour MaterialEditor::libraryFixtureColour(int number) const {
    return material().isMapped(m_patchedFixture, m_libraryPage, number) ? m_colours.current
                                                                        : m_colours.normal;
}

void MaterialEditor::toggleLibraryFixture(int number) {
    if (!libraryFixtureShown(number)) return;
    const auto edit = recordEdit(QStringLiteral("虚拟灯具 %1 映射").arg(m_patchedFixture));
    Material& m = material();
    m.setMapped(m_patchedFixture, m_libraryPage, number,
                !m.isMapped(m_patchedFixture, m_libraryPage, number));
    announce(MaterialAspect::Channels);
}

void MaterialEditor::clearFixtureSelection() {
    const auto edit = recordEdit(QStringLiteral("清除灯具选择"));
    for (int p = 0; p < libraryPages; ++p)
        for (int n = 1; n <= kFixturesPerPage; ++n)
            material().setMapped(m_patchedFixture, p, n, false);
    announce(MaterialAspect::Channels);
}

QString MaterialEditor::groupCaption(int group) const {
    const QString remark = groupRemark(m_src.groups, group);
    return remark.isEmpty() ? QString::number(group) : remark;
}

void MaterialEditor::pressGroup(int group) {
    if (group < 1 || group > kGroupsOffered) return;
    const auto edit = recordEdit(QStringLiteral("灯具组 %1").arg(group));
    for (int p = 0; p < libraryPages; ++p) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            if (m_src.groups.isMember(group, groupFixtureId(p, n)) &&
                isPatched(m_src.library, p, n))
                material().setMapped(m_patchedFixture, p, n, true);
        }
    }
    announce(MaterialAspect::Channels);
}

bool MaterialEditor::definitionsMissing() const {
    const Material& m = material();
    if (!channelsAllEmpty(m)) return false;
    return (m.fixtureCount() > 0 && m.channelCount() > 0) || definitionOffer().has_value();
}

std::optional<DefinitionOffer> MaterialEditor::definitionOffer() const {
    return kx::definitionOffer(material(), m_src.library);
}

QString MaterialEditor::definitionOfferText() const {
    const std::optional<DefinitionOffer> offer = definitionOffer();
    if (!offer) return {};
    return QStringLiteral("采用 ") + offerFixtureText(*offer, m_src.library) +
           QStringLiteral(" 的通道定义");
}

bool MaterialEditor::takeFixtureDefinitions() {
    const std::optional<DefinitionOffer> offer = definitionOffer();
    if (!offer) return false;
    const auto edit =
        recordEdit(QStringLiteral("通道定义 ") + offerFixtureText(*offer, m_src.library));
    takeDefinitions(material(), m_src.library, *offer);
    announce(MaterialAspect::Channels);
    return true;
}

// --- Motion Generator panel

void MaterialEditor::prepareMotionParameters() {
    applyMotionDefaults(material(), m_shownFixture);
}

void MaterialEditor::showMotionPanel() {
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    m_motionPanelOpen = true;
    prepareMotionParameters();
    announce(MaterialAspect::MotionPanel);
}

void MaterialEditor::hideMotionPanel() {
    m_motionPanelOpen = false;
    announce(MaterialAspect::MotionPanel);
}

QString MaterialEditor::motionPanelTitle() const {
    return motionModeList().value(material().motionMode());
}

int MaterialEditor::fixtureParameter(int entry) const {
    return material().motionPerFixture(m_shownFixture, entry);
}

FieldMark MaterialEditor::typeGlobalParameter(int entry, const QString& text) {
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    const ParameterRange r = globalParameterRange(entry);
    const auto n = parseInRange(text, r.low, r.high);
    if (!n || !setGlobalParameter(material(), entry, *n)) return FieldMark::Invalid;
    announce(MaterialAspect::MotionPanel);
    return FieldMark::Normal;
}

FieldMark MaterialEditor::typeFixtureParameter(int entry, const QString& text) {
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    const ParameterRange r = fixtureParameterRange(entry);
    const auto n = parseInRange(text, r.low, r.high);
    if (!n ||
        !setFixtureParameter(material(), m_shownFixture, entry, *n, selectedFixtures(), m_linkAll))
        return FieldMark::Invalid;
    announce(MaterialAspect::MotionPanel);
    return FieldMark::Normal;
}

bool MaterialEditor::generateMotion() {
    const auto edit = recordEdit(QStringLiteral("生成动作"));
    if (!generateCircleSteps(material())) return false;
    m_currentStep = 1;
    // The Steps, their times and fades are all new.
    announce(MaterialAspect::Opened);
    return true;
}

}  // namespace kx
