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

    void Fun_窗体载入();
    void Fun_所有控件数据刷新();
    // Redraws every control where the editor stands, after undo or redo put the Effect back.
    void showRestored();
    void Fun_效果备注_控件显示();
    void Fun_开启独立低_控件显示();
    void Fun_低音和无低音拍子对_控件显示();
    void Fun_小节数_控件显示();
    void Fun_拍数_控件显示();
    void Fun_小节_控件显示();
    void Fun_开启低音小节_Visible();
    void Fun_拍子_Visible();
    void Fun_模块选择_控件显示();
    void Fun_当前拍选择_控件显示();
    void Fun_通用拍_控件显示();
    void Fun_素材控件_显示();
    void Fun_素材备注_控件显示();
    void Fun_低音保持_控件显示();
    void Fun_小节重复_控件显示();
    void Fun_停留时间_控件显示();
    void Fun_素材关联_控件显示();
    void Fun_素材关联控件visable();
    void Fun_拍演示_控件显示();
    void Fun_禁止低音_控件显示();
    void Fun_提示设置小节数和拍数();
    void Fun_VJ控制方式_控件显示();
    void Fun_低音切换跳小节_控件显示();
    void Fun_低音保持时间_控件显示();
    void Fun_RGB阀值_控件显示();
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
    void connectEntry(QComboBox* box, ValueBox which, bool refreshAll, int part = kNoBassPart);
    void connectSwitch(QCheckBox* box, EffectSetting field, bool refreshAll);
    void showEntry(QComboBox* box, ValueBox which, int value);
    void colourFirstTime();
    void moveRowMarker(int slot);
    void openSlot(int slot);
    void report(const Outcome& outcome);
    void refreshAfter(const Outcome& outcome);
    int part() const { return m_editor.position().part; }
    const Effect& fx() const { return m_editor.effect(); }

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
