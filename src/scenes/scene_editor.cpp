#include "scenes/scene_editor.h"

#include "base/settings.h"

namespace kx {

SceneEditor::SceneEditor(SceneTable& scenes, QString workSet)
    : m_scenes(scenes), m_workSet(std::move(workSet)) {}

void SceneEditor::enter() {
    if (!m_initialised) {
        m_initialised = true;
        m_current = iniReadInt(m_workSet, kLastEditedSceneKey);
    }
    m_current = openingScene(m_current);
}

void SceneEditor::chooseScene(int n) {
    if (!isSceneNumber(n)) return;
    m_current = n;
    Fun_IniWrite(m_workSet, kLastEditedSceneKey, QString::number(n));
}

void SceneEditor::setName(const QString& name) {
    setSceneName(m_scenes, m_current, name);
}

void SceneEditor::setMainsByDmx(bool on) {
    kx::setMainsByDmx(m_scenes, m_current, on ? 1 : 0);
}

void SceneEditor::setWallPanelScene(int n) {
    kx::setWallPanelScene(m_scenes, m_current, n);
}

void SceneEditor::setVodScene(int n) {
    kx::setVodScene(m_scenes, m_current, n);
}

void SceneEditor::setAudioSource(int source) {
    kx::setAudioSource(m_scenes, m_current, source);
}

void SceneEditor::setEffectorSound(int sound) {
    kx::setEffectorSound(m_scenes, m_current, sound);
}

void SceneEditor::setEditEnabled(bool on) {
    m_editEnabled = on;
}

void SceneEditor::toggleEffect(int effect) {
    if (!m_editEnabled) return;
    setSceneEffect(m_scenes, m_current, toggledEffect(current().effectNumber, effect));
}

void SceneEditor::copy() {
    m_copied = m_current;
}

bool SceneEditor::paste() {
    return m_copied != 0 && copyScene(m_scenes, m_copied, m_current);
}

Outcome SceneEditor::setDefaultAssociations(Prompter& prompter) {
    if (!prompter.askYesNo(kAskDefaultAssociations)) return {};
    setDefaultAssociationsNow();
    return Outcome::success();
}

void SceneEditor::setDefaultAssociationsNow() {
    kx::setDefaultAssociations(m_scenes);
}

void SceneEditor::applySpecialNames() {
    applySpecialSceneNames(m_scenes);
}

}  // namespace kx
