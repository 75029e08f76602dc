#include "materials/material_editor.h"

#include <algorithm>

#include "materials/material_exchange.h"

namespace kx {

MaterialEditor::MaterialEditor(MaterialEditorSources sources, AppPaths paths, FileDialogs dialogs)
    : m_src(sources), m_paths(std::move(paths)), m_dialogs(dialogs) {}

void MaterialEditor::open(int module, int slot, const QString& effectName,
                          const QString& moduleName) {
    if (!materialSlotOf(materialNumber(module, slot))) return;
    m_module = module;
    m_slot = slot;
    m_effectName = effectName;
    m_moduleName = moduleName;
    reload();
}

void MaterialEditor::reload() {
    applyDefaultTimes(material());
    resetPosition();
    announce(MaterialAspect::Opened);
}

void MaterialEditor::resetPosition() {
    m_currentStep = material().stepCount() > 0 ? 1 : 0;
    m_demoOpen = false;
    m_channelPage = 0;
    m_patchedFixture = 1;
    m_libraryPage = 0;
    m_definingChannel = 0;
    showFixture(1);
}

Outcome MaterialEditor::announced(Outcome outcome, MaterialAspects changed) const {
    if (outcome.done) announce(changed);
    return outcome;
}

StepContext MaterialEditor::steps() {
    return StepContext{material(), m_currentStep, m_paths.stepClipboard, {}};
}

// --- Settings

void MaterialEditor::setRemark(const QString& text) {
    const auto edit = recordEdit(QStringLiteral("备注"), QStringLiteral("备注"));
    material().setRemark(text);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::setPerStepTime(bool on) {
    const auto edit = recordEdit(QStringLiteral("单步时间"));
    material().setPerStepTime(on ? 1 : 0);
    announce(MaterialAspect::Settings);
}

bool MaterialEditor::typeUnifiedTime(const QString& text) {
    const auto edit = recordEdit(QStringLiteral("统一时间"));
    const TimeEntry e = parseTimeEntry(text);
    if (e.kind != TimeEntryKind::Time || !material().setUnifiedTime(e.tenths)) return false;
    announce(MaterialAspect::Settings);
    return true;
}

FieldMark MaterialEditor::typeStepTime(const QString& text) {
    const auto edit = recordEdit(QStringLiteral("单步时间"));
    const TimeEntry e = parseTimeEntry(text);
    if (e.kind == TimeEntryKind::TooLarge) return FieldMark::InvalidTime;
    if (e.kind != TimeEntryKind::Time || !material().setStepTime(m_currentStep, e.tenths))
        return FieldMark::Keep;
    announce(MaterialAspect::Settings);
    return FieldMark::Normal;
}

int MaterialEditor::shownTime() const {
    return stepTimeBoxShown() ? material().stepTime(m_currentStep) : material().unifiedTime();
}

void MaterialEditor::setAllStepsFade(bool on) {
    const auto edit = recordEdit(QStringLiteral("所有步渐变"));
    material().setAllStepsFade(on ? 1 : 0);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::setFadeToNext(bool on) {
    const auto edit = recordEdit(QStringLiteral("此步渐变到下一步"));
    material().setFadeToNext(m_currentStep, on ? 1 : 0);
    announce(MaterialAspect::Steps);
}

FieldMark MaterialEditor::typeJumpSize(const QString& text) {
    const auto edit = recordEdit(QStringLiteral("统一跳步"));
    const auto n = parseInRange(text, 0, 255);
    if (!n) return FieldMark::Invalid;
    material().setJumpSize(*n);
    announce(MaterialAspect::Settings);
    return FieldMark::Normal;
}

void MaterialEditor::setJumpAtRangeEnd(bool on) {
    const auto edit = recordEdit(QStringLiteral("到达跳步区间末尾才跳步"));
    material().setJumpAtRangeEnd(on ? 1 : 0);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::chooseBrightness(int listPosition) {
    const auto edit = recordEdit(QStringLiteral("亮度百分比"));
    material().setBrightnessCut(listPosition);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::chooseStartMode(int index) {
    const auto edit = recordEdit(QStringLiteral("启动方式"));
    material().setStartMode(index);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::chooseVirtualDimming(int index) {
    const auto edit = recordEdit(QStringLiteral("虚拟调光"));
    material().setVirtualDimming(index);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::chooseHardwareSpeed(int index) {
    const auto edit = recordEdit(QStringLiteral("下载后硬件加速"));
    material().setHardwareSpeed(index);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::setRunFromStart(bool on) {
    const auto edit = recordEdit(QStringLiteral("调用从头运行"));
    material().setRunFromStart(on ? 1 : 0);
    announce(MaterialAspect::Settings);
}

void MaterialEditor::chooseMotionMode(int index) {
    const auto edit = recordEdit(QStringLiteral("XY动作辅助生成"));
    if (material().setMotionMode(index) && m_motionPanelOpen) prepareMotionParameters();
    announce({MaterialAspect::Settings, MaterialAspect::MotionPanel});
}

// --- Steps

void MaterialEditor::previousStep() {
    StepContext ctx = steps();
    kx::previousStep(ctx);
    announce(MaterialAspect::Steps);
}

void MaterialEditor::nextStep() {
    StepContext ctx = steps();
    kx::nextStep(ctx);
    announce(MaterialAspect::Steps);
}

void MaterialEditor::selectStep(int listPosition) {
    StepContext ctx = steps();
    kx::selectStep(ctx, listPosition);
    announce(MaterialAspect::Steps);
}

Outcome MaterialEditor::addStep(bool copy) {
    const auto edit = recordEdit(copy ? QStringLiteral("复制加一步") : QStringLiteral("加一步"));
    const int fieldTime = material().stepTime(m_currentStep);
    StepContext ctx = steps();
    return announced(kx::addStep(ctx, copy, fieldTime), MaterialAspect::Steps);
}

void MaterialEditor::deleteStep() {
    const auto edit = recordEdit(QStringLiteral("删除步"));
    StepContext ctx = steps();
    kx::deleteStep(ctx);
    announce(MaterialAspect::Steps);
}

void MaterialEditor::typeCopyCount(const QString& text) {
    const auto n = parseWholeNumber(text);
    m_copyCountValid = n && *n >= 1;
    m_copyCount = m_copyCountValid ? *n : 0;
}

MaterialColour MaterialEditor::copyCountColour() const {
    return m_copyCountValid ? m_colours.normal : m_colours.invalidCopyCount;
}

Outcome MaterialEditor::copySteps() {
    StepContext ctx = steps();
    return kx::copySteps(ctx, m_copyCount);
}

Outcome MaterialEditor::pasteSteps() {
    const auto edit = recordEdit(QStringLiteral("粘贴步"));
    StepContext ctx = steps();
    return announced(kx::pasteSteps(ctx, m_copyCount), MaterialAspect::Steps);
}

Outcome MaterialEditor::pasteStepsAtEnd() {
    const auto edit = recordEdit(QStringLiteral("尾部粘贴"));
    const int fieldTime = material().stepTime(m_currentStep);
    StepContext ctx = steps();
    return announced(kx::pasteStepsAtEnd(ctx, m_copyCount, fieldTime), MaterialAspect::Steps);
}

// --- Material operations

Outcome MaterialEditor::deleteMaterial() {
    if (!m_dialogs.prompter.askYesNo(kMsgAskDeleteMaterial)) return {};
    const auto edit = recordEdit(QStringLiteral("删除素材"));
    clearMaterial(material());
    reload();
    return Outcome::success();
}

Outcome MaterialEditor::exportMaterial() {
    return kx::exportMaterial(material(), m_src.library, m_dialogs);
}

Outcome MaterialEditor::importMaterial() {
    const auto edit = recordEdit(QStringLiteral("导入素材"));
    const Outcome out = kx::importMaterial(material(), m_dialogs);
    if (out.done) reload();
    return out;
}

Outcome MaterialEditor::copyMaterial() {
    return copyMaterialToClipboard(material(), m_src.library, m_paths);
}

Outcome MaterialEditor::pasteMaterial() {
    const auto edit = recordEdit(QStringLiteral("粘贴素材"));
    const Outcome out = pasteMaterialFromClipboard(material(), m_paths, m_dialogs.prompter);
    if (out.done) reload();
    return out;
}

// --- Temporary Channels

QString MaterialEditor::codeCaption(int code) const {
    if (code < 0 || code >= kChannelFunctionCount) return {};
    return definitionCaption(m_src.names[code], code);
}

QStringList MaterialEditor::tempChannelItems() const {
    QStringList items;
    for (int e = 1; e <= kTempChannelEntries; ++e) {
        const int code = material().tempChannel(e);
        if (code != 0) items << QString::number(code) + QStringLiteral(" - ") + m_src.names[code];
    }
    return items;
}

Outcome MaterialEditor::pressTempCode(int code) {
    const auto edit = recordEdit(QStringLiteral("临时通道"));
    if (code <= 0 || code >= kChannelFunctionCount) return {};
    const Outcome out = toggleTemporaryChannel(material(), code);
    announce(MaterialAspect::TempChannels);
    return out;
}

void MaterialEditor::toggleTempPanel() {
    m_tempPanelOpen = !m_tempPanelOpen;
    announce(MaterialAspect::TempChannels);
}

void MaterialEditor::flipTempPage() {
    m_tempPage = 1 - m_tempPage;
    announce(MaterialAspect::TempChannels);
}

MaterialColour MaterialEditor::tempCodeColour(int code) const {
    return material().hasTempChannel(code) ? m_colours.current : m_colours.normal;
}

// --- Demonstration

void MaterialEditor::startDemo() {
    m_demoOpen = true;
    m_src.output.resetRunState();
    announce(MaterialAspect::Demo);
}

void MaterialEditor::stopDemo() {
    m_demoOpen = false;
    announce(MaterialAspect::Demo);
}

void MaterialEditor::choosePort(int port) {
    if (port < 0 || port > 3) return;
    m_displayedPort = port;
    announce(MaterialAspect::Demo);
}

void MaterialEditor::composeStatic(DmxFrame& frame) {
    m_src.output.beginTick(frame);
    m_src.output.previewCurrentStep(material(), number(), m_currentStep, m_src.library, frame);
}

PortText MaterialEditor::composeRun(bool jumpActive, DmxFrame& frame) {
    MaterialOutput& out = m_src.output;
    out.beginTick(frame);
    out.previewRun(material(), number(), m_src.library, jumpActive, frame);
    return showPortText(frame, m_displayedPort, out.runState(number()), material().stepCount(),
                        out.runStepDuration());
}

}  // namespace kx
