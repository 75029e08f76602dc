#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>

#include "base/dialogs.h"
#include "effects/effect_editor.h"
#include "shell/appearance.h"

namespace kx {

// The Effect editor (live view 9): the Bar and Beat navigation of both parts, the beat grid of
// the current Module's twelve Slots, the simulated drum beat, the current Bar's settings, the
// Module panel and the Effect-wide settings with the file actions.
class EffectEditorView : public QWidget {
    Q_OBJECT
  public:
    struct Services {
        const Appearance& appearance;
        FileDialogs dialogs;
        std::function<void(QWidget*)> showView;
        // The title bar's button 4 leads to this editor again (Fun_标题场景功能 (1)).
        std::function<void()> titleEffectMode;
        // Enters this view again the way the program does (after an import or a clear).
        std::function<void()> reenter;
        std::function<void()> openMaterialEditor;  // for the current Slot
        std::function<void()> returnToScenes;      // "返回"
    };

    EffectEditorView(EffectEditorModel model, Services services, QWidget* parent = nullptr);

    EffectEditor& editor() { return m_editor; }

    // Entering: the editor enters and every control is drawn.
    void Fun_窗体载入();
    // Every control drawn again from the Effect, the bank and where the editor stands.
    void Fun_所有控件数据刷新();
    // Redraws every control where the editor stands, after undo or redo put the Effect back.
    void showRestored();
    // The Slots' Material buttons again, after the Materials changed outside this view.
    void Fun_素材备注_控件显示();
    // The main loop's tiers: the drum-beat flash (10 ms) and the correspondence warning (250 ms).
    void Fun_模拟鼓点颜色显示();
    void Fun_拍子对应_有错显示();
    // Whether those two have anything to draw: a flash under way or still to be taken back, an
    // invalid correspondence or a warning still lit. Otherwise their tiers may sleep.
    bool drumIndicatorBusy() const;
    bool correspondenceWarningBusy() const;
    bool Fun_小节时间_check();

    QPushButton* barButton(int part, int i) const { return m_bars.at(part).at(i - 1); }
    QPushButton* gridButton(int slot, int beat) const {
        return m_grid.at((slot - 1) * kMaxBeats + beat - 1);
    }
    QPushButton* beatButton(int k) const { return m_beats.at(k - 1); }
    QPushButton* moduleButton(int m) const { return m_modules.at(m - 1); }
    QPushButton* materialButton(int s) const { return m_materials.at(s - 1); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildBarSelection();
    void buildBeatArea();
    void buildDrum();
    void buildBarSettings();
    void buildModules();
    void buildEffectSettings();
    QComboBox* valueBox(QWidget* parent, const QString& name, ValueBox box, QRect r);
    void connectEntry(QComboBox* box, ValueBox which, int part = kNoBassPart);
    void connectSwitch(QCheckBox* box, EffectSetting field);
    void showEntry(QComboBox* box, ValueBox which, int value);
    void showText(QLineEdit* box, const QString& text);

    // What the editor announced, drawn from its state; each part below draws one group.
    void redraw(EffectAspects changed);
    void drawEffectSettings();
    void drawShape();  // the Bar and Beat counts, and the prompt while there are none
    void drawBarButtons();
    void drawBeatColumns();
    void drawModules();
    void drawBeatSelections();
    void drawAllBeatsFlags();
    void drawMaterials();  // the Slots' Material buttons and the Slot marker
    void drawBarSettings();
    void drawAssociation();
    void drawBeatDemo();
    void drawDrum();
    void colourFirstTime();
    void moveRowMarker(int slot);
    void openSlot(int slot);
    void report(const Outcome& outcome);
    int part() const { return m_editor.position().part; }
    const Effect& fx() const { return m_editor.effect(); }
    const BarSettings& currentBar() const {
        const EffectEditorPosition& pos = m_editor.position();
        return fx().parts[pos.part].bars[pos.bar - 1];
    }

    EffectEditor m_editor;
    Services m_services;
    EffectEditorColours m_colours;

    std::array<QComboBox*, kParts> m_barCounts{};
    std::array<QComboBox*, kParts> m_beatCounts{};
    std::array<QPushButton*, kParts> m_pages{};
    std::array<std::array<QPushButton*, kBarsPerPage>, kParts> m_bars{};
    std::vector<QWidget*> m_bassOnly;  // the bass part's boxes and labels
    QGroupBox* m_prompt = nullptr;

    QGroupBox* m_beatFrame = nullptr;
    std::array<QPushButton*, kSlotsPerModule * kMaxBeats> m_grid{};
    std::array<std::array<QPushButton*, kSlotsPerModule>, 3> m_flags{};
    std::array<QPushButton*, kSlotsPerModule> m_materials{};
    std::array<QPushButton*, kSlotsPerModule> m_associationMarks{};
    std::array<QLabel*, kSlotsPerModule> m_rowBacks{};
    std::array<QPushButton*, kMaxBeats> m_beats{};
    std::array<QLabel*, kMaxBeats> m_beatTitles{};
    QLabel* m_slotMarker = nullptr;
    QLabel* m_rowMarker = nullptr;

    QGroupBox* m_drumFrame = nullptr;
    bool m_drumFlashing = false;  // the caption colours as last drawn
    bool m_warningLit = false;
    QPushButton* m_auto = nullptr;

    QGroupBox* m_barFrame = nullptr;
    QCheckBox* m_barBassHold = nullptr;
    QComboBox* m_barRepeat = nullptr;
    QComboBox* m_dwell = nullptr;
    bool m_typingDwell = false;
    QLabel* m_dwellLabel = nullptr;

    std::array<QPushButton*, kModules> m_modules{};
    QLineEdit* m_moduleRemark = nullptr;
    QCheckBox* m_association = nullptr;
    QComboBox* m_associationRepeat = nullptr;
    QLabel* m_associationRepeatLabel = nullptr;

    QLineEdit* m_effectRemark = nullptr;
    QCheckBox* m_independentBass = nullptr;
    QCheckBox* m_correspondence = nullptr;
    QCheckBox* m_bassDisabled = nullptr;
    QCheckBox* m_bassSwitchJumps = nullptr;
    QComboBox* m_bassHoldTime = nullptr;
    QComboBox* m_vjMode = nullptr;
    QComboBox* m_rgb = nullptr;
    QComboBox* m_xy = nullptr;
};

}  // namespace kx
