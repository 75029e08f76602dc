// The Material window's Virtual Fixture bar, value entry, faders and channel definitions.
#include <algorithm>

#include "materials/material_editor.h"

namespace kx {

// --- Virtual Fixture bar

bool MaterialEditor::fixtureButtonShown(int fixture) const {
    return fixture >= 1 && fixture <= material().fixtureCount();
}

bool MaterialEditor::isSelected(int fixture) const {
    return fixture == m_shownFixture ||
           (fixture >= 1 && fixture <= kMaxVirtualFixtures && m_selected.test(fixture));
}

MaterialColour MaterialEditor::fixtureColour(int fixture) const {
    if (fixture == m_shownFixture) return m_colours.shownFixture;
    return isSelected(fixture) ? m_colours.selectedFixture : m_colours.normalFixture;
}

std::vector<int> MaterialEditor::selectedFixtures() const {
    std::vector<int> list;
    for (int v = 1; v <= material().fixtureCount(); ++v)
        if (isSelected(v)) list.push_back(v);
    return list;
}

void MaterialEditor::leftClickFixture(int fixture) {
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    showFixture(fixture);
    announce(MaterialAspect::Fixtures);
}

void MaterialEditor::showFixture(int fixture) {
    if (fixture < 1 || fixture > kMaxVirtualFixtures) return;
    clearSelection();
    m_shownFixture = fixture;
    if (m_motionPanelOpen) prepareMotionParameters();
}

void MaterialEditor::rightClickFixture(int fixture) {
    if (fixture < 1 || fixture > kMaxVirtualFixtures || fixture == m_shownFixture) return;
    m_selected.flip(fixture);
    announce(MaterialAspect::Fixtures);
}

void MaterialEditor::setLinkAll(bool on) {
    m_linkAll = on;
    announce(MaterialAspect::Fixtures);
}

void MaterialEditor::selectAll() {
    if (material().fixtureCount() == 0) return;
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    showFixture(1);
    for (int v = 2; v <= material().fixtureCount(); ++v)
        m_selected.set(v);
    announce(MaterialAspect::Fixtures);
}

void MaterialEditor::selectOdd() {
    if (material().fixtureCount() == 0) return;
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    showFixture(1);
    for (int v = 3; v <= material().fixtureCount(); v += 2)
        m_selected.set(v);
    announce(MaterialAspect::Fixtures);
}

void MaterialEditor::selectEven() {
    if (material().fixtureCount() == 0) return;
    const auto edit = recordEdit(QStringLiteral("动作参数"));
    showFixture(2);
    for (int v = 4; v <= material().fixtureCount(); v += 2)
        m_selected.set(v);
    announce(MaterialAspect::Fixtures);
}

// --- Values and faders

int MaterialEditor::shownValue(int channel) const {
    return material().value(m_currentStep, m_shownFixture, channel);
}

void MaterialEditor::enterValue(int channel, int value) {
    const auto edit =
        recordEdit(QStringLiteral("通道 %1").arg(channel), QStringLiteral("值 %1").arg(channel));
    storeValue(channel, value);
    announce(valuesChanged());
}

void MaterialEditor::storeValue(int channel, int value) {
    Material& m = material();
    // Nothing is entered where the shown Virtual Fixture has no such channel.
    if (!m.setValue(m_currentStep, m_shownFixture, channel, value)) return;
    for (const int v : selectedFixtures()) {
        if (v == m_shownFixture) continue;
        if (m_linkAll) {
            for (int k = 1; k <= m.channelCount(); ++k)
                m.setValue(m_currentStep, v, k, m.value(m_currentStep, m_shownFixture, k));
        } else {
            m.setValue(m_currentStep, v, channel, value);
        }
    }
    StepContext ctx = steps();
    autoAddFirstStep(ctx);
}

bool MaterialEditor::typeValue(int channel, const QString& text) {
    const auto n = parseInRange(text, 0, 255);
    if (!n) return false;
    enterValue(channel, *n);
    return true;
}

void MaterialEditor::wheelStep(int direction, int channel) {
    if (!channelShown(channel)) return;
    const int v = std::clamp(shownValue(channel) + (direction == 1 ? 1 : -1), 0, 255);
    enterValue(channel, v);
}

void MaterialEditor::copyValues() {
    for (int k = 1; k <= kMaxMaterialChannels; ++k)
        m_channelClipboard[k - 1] =
            static_cast<std::uint8_t>(k <= material().channelCount() ? shownValue(k) : 0);
}

void MaterialEditor::pasteValues() {
    const auto edit = recordEdit(QStringLiteral("粘贴数值"));
    for (int k = 1; k <= material().channelCount(); ++k)
        storeValue(k, m_channelClipboard[k - 1]);
    announce(valuesChanged());
}

void MaterialEditor::setEveryValue(int value) {
    const auto edit = recordEdit(QStringLiteral("全%1").arg(value));
    for (int k = 1; k <= material().channelCount(); ++k)
        storeValue(k, value);
    announce(valuesChanged());
}

MaterialAspects MaterialEditor::valuesChanged() const {
    // The first value of a Material without Steps adds Step 1.
    return {MaterialAspect::Values, MaterialAspect::Steps};
}

void MaterialEditor::setChannelPage(int page) {
    if (page < 0 || page >= kChannelPages) return;
    m_channelPage = page;
    announce(MaterialAspect::Channels);
}

bool MaterialEditor::channelShown(int channel) const {
    return channelOnScreen(channel, material().channelCount(), m_channelPage);
}

std::optional<MaterialColour> MaterialEditor::channelPageColour(int page) const {
    if (page == m_channelPage) return m_colours.activeChannelPage;
    return std::nullopt;
}

QString MaterialEditor::channelDefinition(int channel) const {
    return codeCaption(material().channelFunction(channel));
}

// --- Channel definition picker

void MaterialEditor::clickDefinition(int channel) {
    if (channel < 1 || channel > kMaxMaterialChannels) return;
    if (m_definingChannel == channel) {
        m_definingChannel = 0;
    } else {
        m_definingChannel = channel;
        m_pickerPage = codePageOf(material().channelFunction(channel));
    }
    announce(MaterialAspect::Picker);
}

void MaterialEditor::closePicker() {
    m_definingChannel = 0;
    announce(MaterialAspect::Picker);
}

void MaterialEditor::flipPickerPage() {
    m_pickerPage = 1 - m_pickerPage;
    announce(MaterialAspect::Picker);
}

void MaterialEditor::pickCode(int code) {
    if (m_definingChannel == 0) return;
    const auto edit = recordEdit(QStringLiteral("通道 %1 定义").arg(m_definingChannel));
    material().setChannelFunction(m_definingChannel, code);
    m_definingChannel = 0;
    announce({MaterialAspect::Channels, MaterialAspect::Picker});
}

MaterialColour MaterialEditor::pickerCodeColour(int code) const {
    return m_definingChannel != 0 && material().channelFunction(m_definingChannel) == code
               ? m_colours.definedCode
               : m_colours.normal;
}

}  // namespace kx
