#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "base/outcome.h"
#include "base/prompter.h"
#include "effects/effect_model.h"
#include "scenes/scene_editor.h"
#include "shell/appearance.h"

namespace kx {

// The Scene editor (live view 4): the 50 scene buttons, the settings of the current scene, and
// the 50 Effect buttons that either give the scene its Effect or open the Effect for editing.
class SceneEditorView : public QWidget {
    Q_OBJECT
  public:
    struct Services {
        const Appearance& appearance;
        Prompter& prompter;
        std::function<void(QWidget*)> showView;
        // The title bar's button 4 leads to the scene editor again (Fun_标题场景功能 (0)).
        std::function<void()> titleSceneMode;
        // Opens Effect e in the Effect editor (its bank switched in first).
        std::function<void(int effect)> openEffect;
        std::function<Outcome()> importAllEffects;  // asks first
        std::function<Outcome()> exportAllEffects;
        // Asks the Controller to start or stop reporting the scene a wall panel or the VOD
        // selects.
        std::function<void(bool on)> sceneReports;
        // The Room Control's audio follow mode: the audio-source frame shows only when not 0.
        std::function<int()> audioFollowMode;
    };

    SceneEditorView(SceneTable& scenes, const EffectTable& effects, const QString& workSet,
                    Services services, QWidget* parent = nullptr);

    SceneEditor& editor() { return m_editor; }

    void Fun_窗体载入();
    // Every control drawn again from the scene table and the Effects (a new show).
    void Fun_场景选择_控件显示();
    void Fun_设置默认的场景关联参数();
    // A scene-association report of the Controller.
    void Fun_接收场景关联(std::uint8_t code, std::span<const std::uint8_t> data);

    QPushButton* sceneButton(int n) const { return m_scenes.at(n - 1); }
    QPushButton* effectButton(int e) const { return m_effects.at(e - 1); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildScenes();
    void buildEffects();
    void buildSettings();
    // What the editor announced, drawn from its state.
    void redraw(SceneAspects changed);
    void drawScene();  // the scene buttons and the current scene's settings
    void drawEffects();
    void drawEditing();
    void clickEffect(int e);
    void report(const Outcome& outcome);

    SceneEditor m_editor;
    const EffectTable& m_effectTable;
    Services m_services;
    SceneEditorColours m_colours;
    bool m_initialised = false;

    std::array<QPushButton*, kSceneCount> m_scenes{};
    std::array<QPushButton*, kEffectCount> m_effects{};
    QComboBox* m_remark = nullptr;
    QGroupBox* m_remarkFrame = nullptr;
    QCheckBox* m_mains = nullptr;
    QGroupBox* m_associationFrame = nullptr;
    QComboBox* m_wallPanel = nullptr;
    QComboBox* m_vod = nullptr;
    QPushButton* m_defaults = nullptr;
    QLineEdit* m_reportBox = nullptr;
    QGroupBox* m_audioFrame = nullptr;
    QComboBox* m_audio = nullptr;
    QGroupBox* m_effectorFrame = nullptr;
    QComboBox* m_effector = nullptr;
    QCheckBox* m_editEnabled = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_paste = nullptr;
};

}  // namespace kx
