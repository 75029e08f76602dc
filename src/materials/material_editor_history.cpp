// The Material window's stores as entries of the edit history, and a Material put back by undo or
// redo; the tools over the window store through here as well.
#include <algorithm>

#include "materials/material_editor.h"

namespace kx {

void MaterialEditor::setNames(const QString& effectName, const QString& moduleName) {
    m_effectName = effectName;
    m_moduleName = moduleName;
    announce(MaterialAspect::Captions);
}

void MaterialEditor::setEffectNumber(int effect) {
    m_effectNumber = effect;
    announce(MaterialAspect::Captions);
}

QString MaterialEditor::positionCaption() const {
    QString text;
    if (m_effectNumber > 0) text = QStringLiteral("效果 %1  ").arg(m_effectNumber);
    return text + QStringLiteral("模块 %1  素材 %2").arg(m_module).arg(m_slot);
}

QString MaterialEditor::tableName() const {
    const int effect = m_history.openEffect ? m_history.openEffect() : 0;
    return QStringLiteral("素材 %1/%2/%3").arg(effect).arg(m_module).arg(m_slot);
}

MaterialEditor::Store MaterialEditor::recordEdit(const QString& what, const QString& mergeKey) {
    EditHistory* history = m_storeDepth == 0 ? m_history.history : nullptr;
    const int effect = m_history.openEffect ? m_history.openEffect() : 0;
    auto restore = [this, effect, module = m_module, slot = m_slot, step = m_currentStep,
                    fixture = m_shownFixture](const Material& snapshot) {
        if (m_history.openEffect && m_history.openEffect() != effect) {
            const Outcome opened =
                m_history.openBank ? m_history.openBank(effect) : Outcome::refused({});
            if (!opened.done) return opened;
        }
        m_src.bank.at(module, slot) = snapshot;
        showRestored(module, slot, step, fixture);
        if (m_history.reveal) m_history.reveal();
        return Outcome::success();
    };
    return {{m_storeDepth},
            {history, material(), tableName(), QStringLiteral("素材 %1 ").arg(number()) + what,
             mergeKey.isEmpty() ? QString() : tableName() + QLatin1Char(' ') + mergeKey,
             std::move(restore)}};
}

void MaterialEditor::showRestored(int module, int slot, int step, int fixture) {
    if (module != m_module || slot != m_slot) {
        m_module = module;
        m_slot = slot;
        resetPosition();
    }
    const Material& m = material();
    m_currentStep = m.stepCount() == 0 ? 0 : std::clamp(step, 1, m.stepCount());
    clearSelection();
    m_shownFixture = fixture <= std::max(m.fixtureCount(), 1) ? fixture : 1;
    if (m_channelPage > 0 && !channelShown(kFadersOnScreen + 1)) m_channelPage = 0;
    if (m_definingChannel > m.channelCount()) m_definingChannel = 0;
    announce(MaterialAspect::Opened);
}

ChaseResult MaterialEditor::runChase(const ChaseFields& fields) {
    const auto edit = recordEdit(QStringLiteral("跑马"));
    const ChaseResult result = generateChase(material(), fields);
    if (result.generated) reload();
    return result;
}

Outcome MaterialEditor::applyBuiltIn(const BuiltInEntry& entry) {
    const auto edit = recordEdit(QStringLiteral("内置素材"));
    const Outcome out = importBuiltInMaterial(entry, material(), m_dialogs.prompter);
    if (out.done) reload();
    return out;
}

}  // namespace kx
