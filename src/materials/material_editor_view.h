#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "base/prompter.h"
#include "materials/material_code_grid.h"
#include "materials/material_demo_panel_view.h"
#include "materials/material_editor.h"
#include "materials/material_fixture_panel_view.h"
#include "materials/material_motion_panel_view.h"
#include "shell/appearance.h"
#include "shell/fader_view.h"

namespace kx {

// Said while a Material whose channels are all "空" is shown.
inline const QString kDefinitionsMissing = QStringLiteral("通道定义全部为空，灯具不会亮");

// The Material window: one Material of the open Effect, its settings, Steps, Virtual Fixtures,
// faders and panels. Its rules and state are the MaterialEditor's; this is widgets and wiring.
// What lies outside the window (the live output's view, the jump request, the wheel target, the
// Effect editor, the built-in Materials and the chase generator) is reached through the hooks.
class MaterialEditorView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWheelBase = 2000;  // the wheel's target 2000 + n is channel n

    struct Hooks {
        std::function<void(int view)> setLiveView;  // 7 static, 8 running
        std::function<void()> requestJump;          // "跳步"
        std::function<void(int target)> setWheelTarget;
        std::function<void()> back;                        // "返回": the Effect editor
        std::function<void(int folder)> builtinMaterials;  // "标准素材" 0, "个性素材" 1
        std::function<void()> chaseTool;                   // "跑马工具"
    };
    struct FaderPictures {
        QPixmap track;
        QPixmap knob;
    };

    MaterialEditorView(MaterialEditor& editor, Prompter& prompter, const Appearance& appearance,
                       FaderPictures pictures, Hooks hooks, QWidget* parent = nullptr);

    // Opens the Material of Module 1-20, Slot 1-12 (the live output is in the static view).
    void Fun_窗体载入(int module, int slot, const QString& effectName, const QString& moduleName);
    // The window's contents again after something outside rewrote the Material (a generator,
    // a built-in Material, a new show).
    void reload();

    // Every control drawn again from the Material and where the editor stands.
    void Fun_所有控件数据刷新();
    // A fader moved: its value into its value box, then value entry.
    void Fun_推杆_Change(int channel, int value);
    void Fun_鼠标滚轮触发(int direction, int channel);
    // The demonstration's caption and text view of one tick.
    void showRun(const PortText& text) { m_demo->showTick(text); }

    MaterialEditor& editor() { return m_editor; }
    QPushButton* fixtureButton(int v) const { return m_fixtureButtons.at(v); }
    FaderView* fader(int channel) const { return m_faders.at(channel); }
    QLineEdit* valueBox(int channel) const { return m_values.at(channel); }
    MaterialFixturePanel* fixturePanel() const { return m_fixturePanel; }
    MaterialMotionPanel* motionPanel() const { return m_motionPanel; }
    MaterialCodeGrid* tempPanel() const { return m_tempPanel; }
    MaterialCodeGrid* picker() const { return m_picker; }
    MaterialDemoPanel* demoPanel() const { return m_demo; }
    QLabel* positionCaption() const { return m_position; }
    QLabel* definitionsNotice() const { return m_definitionsNotice; }
    QPushButton* takeDefinitionsButton() const { return m_takeDefinitions; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildHeader();
    void buildSettings();
    void buildSteps();
    void buildTemporaryChannels();
    void buildFixtureBar();
    void buildFaders(const FaderPictures& pictures);
    void buildValueTools();
    void buildPanels();
    std::function<void()> reopenedAction(Outcome (MaterialEditor::*operation)());
    void connectChoice(QComboBox* c, void (MaterialEditor::*choose)(int));
    void addStepButton(const QString& name, const QString& caption, QRect r,
                       std::function<Outcome()> op);
    std::function<Outcome()> plainStep(void (MaterialEditor::*op)());
    void addSelectTool(const QString& name, const QString& caption, QRect r,
                       void (MaterialEditor::*select)());
    void addValueTool(const QString& name, const QString& caption, QRect r,
                      std::function<void()> action);
    // What the editor announced, drawn from its state; each part below draws one group.
    void redraw(MaterialAspects changed);
    void drawCaptions();
    void drawSettings();
    void drawTimes();
    void drawSteps();
    void drawFixtureBar();
    void drawChannels();  // values, faders, definitions, the columns shown and the page buttons
    void drawTempChannels();
    void drawPicker();
    void drawFixturePanel(bool counts);
    void drawMotionPanel();
    void drawDemo();
    void tell(const Outcome& outcome);
    void leaveDemo();
    void Fun_鼠标滚轮焦点(int channel);
    // "通道定义全部为空..." while the Material drives nothing, and the offer beside it.
    void showDefinitionsNotice();

    MaterialEditor& m_editor;
    Prompter& m_prompter;
    const Appearance& m_appearance;
    Hooks m_hooks;
    // The box whose typing is being stored: its redraw leaves the text and mark as typed.
    const QWidget* m_typed = nullptr;
    struct TypedInto {
        TypedInto(const QWidget*& typed, const QWidget* box) : m_typed(typed) { m_typed = box; }
        ~TypedInto() { m_typed = nullptr; }
        TypedInto(const TypedInto&) = delete;
        TypedInto& operator=(const TypedInto&) = delete;
        const QWidget*& m_typed;
    };

    QLabel* m_effectCaption = nullptr;
    QLabel* m_moduleCaption = nullptr;
    QLabel* m_position = nullptr;
    QLineEdit* m_remark = nullptr;

    QCheckBox* m_perStepTime = nullptr;
    QLabel* m_timeCaption = nullptr;
    QLineEdit* m_unifiedTime = nullptr;
    QLineEdit* m_stepTime = nullptr;
    QLabel* m_timeText = nullptr;
    QCheckBox* m_allStepsFade = nullptr;
    QCheckBox* m_fadeToNext = nullptr;
    QLineEdit* m_jumpSize = nullptr;
    QCheckBox* m_jumpAtRangeEnd = nullptr;
    QComboBox* m_brightness = nullptr;
    QComboBox* m_startMode = nullptr;
    QComboBox* m_virtualDimming = nullptr;
    QComboBox* m_hardwareSpeed = nullptr;
    QCheckBox* m_runFromStart = nullptr;
    QComboBox* m_motionMode = nullptr;

    QComboBox* m_stepList = nullptr;
    QLabel* m_total = nullptr;
    QComboBox* m_copyCount = nullptr;

    QListWidget* m_tempList = nullptr;

    std::array<QPushButton*, kMaxVirtualFixtures + 1> m_fixtureButtons{};
    QCheckBox* m_linkAll = nullptr;
    std::array<QLabel*, kMaxMaterialChannels + 1> m_definitions{};
    std::array<QLabel*, kMaxMaterialChannels + 1> m_channelIds{};
    std::array<FaderView*, kMaxMaterialChannels + 1> m_faders{};
    std::array<QLineEdit*, kMaxMaterialChannels + 1> m_values{};
    std::array<QPushButton*, kChannelPages> m_pageButtons{};
    QLabel* m_definitionsNotice = nullptr;
    QPushButton* m_takeDefinitions = nullptr;

    MaterialFixturePanel* m_fixturePanel = nullptr;
    MaterialMotionPanel* m_motionPanel = nullptr;
    MaterialCodeGrid* m_tempPanel = nullptr;
    MaterialCodeGrid* m_picker = nullptr;
    MaterialDemoPanel* m_demo = nullptr;
};

}  // namespace kx
