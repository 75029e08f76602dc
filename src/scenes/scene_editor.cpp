#include "scenes/scene_editor.h"

#include "base/settings.h"

namespace kx {

SceneEditor::SceneEditor(SceneTable& scenes, QString workSet)
    : m_scenes(scenes), m_workSet(std::move(workSet)) {}

void SceneEditor::setHistory(EditHistory* history, std::function<void()> reveal) {
    m_history = history;
    m_reveal = std::move(reveal);
}

TableEdit<SceneTable> SceneEditor::recordEdit(const QString& description, const QString& mergeKey) {
    return {m_history,
            m_scenes,
            QStringLiteral("场景表"),
            description,
            mergeKey,
            [this, scene = m_current](const SceneTable& scenes) {
                m_scenes = scenes;
                m_current = scene;
                announce(SceneAspects::all());
                if (m_reveal) m_reveal();
                return Outcome::success();
            }};
}

QString SceneEditor::sceneEdit(const char* what) const {
    return QStringLiteral("场景 %1 ").arg(m_current) + QString::fromUtf8(what);
}

void SceneEditor::enter() {
    if (!m_initialised) {
        m_initialised = true;
        m_current = iniReadInt(m_workSet, kLastEditedSceneKey);
    }
    m_current = openingScene(m_current);
    announce(SceneAspects::all());
}

void SceneEditor::chooseScene(int n) {
    if (!isSceneNumber(n)) return;
    m_current = n;
    Fun_IniWrite(m_workSet, kLastEditedSceneKey, QString::number(n));
    announce(SceneAspect::Current);
}

void SceneEditor::setName(const QString& name) {
    const auto edit = recordEdit(sceneEdit("备注"), QStringLiteral("场景备注 %1").arg(m_current));
    setSceneName(m_scenes, m_current, name);
    announce(SceneAspect::Table);
}

void SceneEditor::setMainsByDmx(bool on) {
    const auto edit = recordEdit(sceneEdit("强电由Dmx512控制"));
    kx::setMainsByDmx(m_scenes, m_current, on ? 1 : 0);
    announce(SceneAspect::Table);
}

void SceneEditor::setWallPanelScene(int n) {
    const auto edit = recordEdit(sceneEdit("关联墙板场景"));
    kx::setWallPanelScene(m_scenes, m_current, n);
    announce(SceneAspect::Table);
}

void SceneEditor::setVodScene(int n) {
    const auto edit = recordEdit(sceneEdit("关联VOD场景"));
    kx::setVodScene(m_scenes, m_current, n);
    announce(SceneAspect::Table);
}

void SceneEditor::setAudioSource(int source) {
    const auto edit = recordEdit(sceneEdit("音源"));
    kx::setAudioSource(m_scenes, m_current, source);
    announce(SceneAspect::Table);
}

void SceneEditor::setEffectorSound(int sound) {
    const auto edit = recordEdit(sceneEdit("效果器音效"));
    kx::setEffectorSound(m_scenes, m_current, sound);
    announce(SceneAspect::Table);
}

void SceneEditor::setEditEnabled(bool on) {
    m_editEnabled = on;
    announce(SceneAspect::Editing);
}

void SceneEditor::toggleEffect(int effect) {
    if (!m_editEnabled) return;
    const auto edit = recordEdit(sceneEdit("效果"));
    setSceneEffect(m_scenes, m_current, toggledEffect(current().effectNumber, effect));
    announce(SceneAspect::Table);
}

void SceneEditor::copy() {
    m_copied = m_current;
}

bool SceneEditor::paste() {
    if (m_copied == 0) return false;
    const auto edit = recordEdit(sceneEdit("粘贴"));
    const bool pasted = copyScene(m_scenes, m_copied, m_current);
    announce(SceneAspect::Table);
    return pasted;
}

Outcome SceneEditor::setDefaultAssociations(Prompter& prompter) {
    if (!prompter.askYesNo(kAskDefaultAssociations)) return {};
    const auto edit = recordEdit(QStringLiteral("默认参数"));
    setDefaultAssociationsNow();
    return Outcome::success();
}

void SceneEditor::setDefaultAssociationsNow() {
    kx::setDefaultAssociations(m_scenes);
    announce(SceneAspect::Table);
}

void SceneEditor::applySpecialNames() {
    applySpecialSceneNames(m_scenes);
}

}  // namespace kx
