#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "base/aspects.h"
#include "base/dialogs.h"
#include "base/outcome.h"
#include "base/prompter.h"
#include "effects/effect_editor_state.h"
#include "effects/effect_files.h"
#include "effects/effect_output.h"
#include "effects/effect_undo.h"
#include "materials/effect_image_store.h"
#include "materials/material_output.h"

namespace kx {

// What the Effect editor works on: the show's Effects and the open Effect's bank, the images the
// other Effects' Materials live in, the Material output engine its preview shares, and the live
// output's one-tick request flag the simulated drum beats raise.
struct EffectEditorModel {
    EffectTable& effects;
    MaterialBank& bank;
    int& currentEffect;  // the open bank's Effect, 0 none
    const FixtureLibrary& lib;
    EffectImageStore& images;
    MaterialOutput& engine;
    std::uint8_t& jumpRequest;
};

// What an Effect editor store or move changed, for its view to redraw.
enum class EffectAspect {
    Settings,    // the Effect-wide remark, switches, times and thresholds
    Shape,       // both parts' Bar counts and Beats per Bar
    Selections,  // the Beats of the current Bar and the all-Beats flags
    Bar,         // the current Bar's bass hold, repeat and dwell time
    Module,      // the Modules' remarks and Material association
    Materials,   // the open bank's Materials
    Position,    // part, Bar, page, Beat, Module and Slot
    Drum,        // the automatic drum's mode
};
using EffectAspects = Aspects<EffectAspect>;

// The Effect editor's edits of the open Effect, one entry point per kind, and where it stands
// (part, Bar, Beat, Module, Slot, pages), its drum and its Bar copy. Each edit is stored at once
// and recorded in the edit history; choosing where the editor stands is no edit.
class EffectEditor {
  public:
    explicit EffectEditor(EffectEditorModel model) : m(model) {}

    // The open Effect; a blank one while none is open, so nothing is edited then.
    Effect& effect();
    const Effect& effect() const;
    bool effectOpen() const { return isEffectNumber(m.currentEffect); }
    const MaterialBank& bank() const { return m.bank; }
    const EffectEditorPosition& position() const { return m_pos; }
    SimulatedDrum& drum() { return m_drum; }
    const SimulatedDrum& drum() const { return m_drum; }
    int copiedBar() const { return m_copiedBar; }
    int blinkPhase() const { return m_blinkPhase; }

    // The view that redraws what each store, restore, entry or move announces.
    void observe(ChangeNotice<EffectAspect>::Observer observer) {
        m_changes.observe(std::move(observer));
    }
    bool entered() const { return m_initialised; }

    // Where the stores are recorded, and how the editor shows an Effect put back by undo or redo
    // (its view comes to the front). Putting back an entry of another Effect opens that Effect
    // first, through the bank switch.
    void setHistory(EditHistory* history, std::function<void()> reveal);

    // Entering (everything is announced): the first time the position starts on Module 1, the
    // no-bass part, Bar 1 and the first pages (true then); every time the run positions restart,
    // the Effect gets its default times and the Bar copy is forgotten.
    bool enter();

    // The Bar button of part p: that Bar becomes current and one drum beat is sent.
    void chooseBar(int part, int button);
    void turnPage(int part);
    int shownPage(int part) const;
    // A grid click toggles the Material of the Slot on that Beat, then previews the Beat.
    void toggleBeatSelection(int slot, int beat);
    void toggleAllBeatsFlag(AllBeatsFlag which, int slot);
    // The beat buttons' redraw: the current Beat stays within the Bar (a correction, not
    // announced).
    void correctBeat();
    void chooseBeat(int beat);
    // "下一拍": the next Beat, Bar or back to the first Bar of the part; false when the part has
    // no Bars or no Beats.
    bool nextBeat();
    // "手动": one simulated drum beat (none while bass is disabled). True when sent.
    bool sendDrumBeat();
    void pressAutomatic();

    void copyBar();
    // "粘贴小节": "没有复制内容！" with nothing copied; asks before overwriting.
    Outcome pasteBar(Prompter& prompter);
    Outcome clearBar(Prompter& prompter);

    // Another editor's or a restored place: a position the Effect has (validPosition), with the
    // pages as given.
    void moveTo(const EffectEditorPosition& pos);
    void chooseModule(int module);
    void chooseSlot(int slot);
    void setModuleRemark(const QString& text);
    void setEffectRemark(const QString& text);
    void setMaterialAssociation(bool on);
    // An Effect-wide switch ("开启独立低音", "低音返回时拍子对应", "禁止低音", "低音切换跳小节").
    void setSwitch(EffectSetting field, bool on);
    void setBarBassHold(bool on);
    // A chosen entry of a fixed-entry box; barCount and beatsPerBar of part `part`.
    void chooseEntry(ValueBox box, int entry, int part = kNoBassPart);
    // The dwell-time box's text: stored when it is a whole number 0-255.
    bool typeDwellTime(const QString& text);

    // The 10 ms indicator: true while a drum beat flashes it.
    bool indicatorTick();
    // The 250 ms warning: true in the blinking phase of an invalid correspondence.
    bool warningTick();

    // The file and clear actions, asked first where they overwrite.
    Outcome clearEffect(Prompter& prompter);
    Outcome importEffect(const FileDialogs& dialogs);
    Outcome exportEffect(const FileDialogs& dialogs);
    Outcome importModule(const FileDialogs& dialogs);
    Outcome exportModule(const FileDialogs& dialogs);

  private:
    // Nothing is recorded while no Effect is open: the edits then go to a blank one.
    EditHistory* history() const { return effectOpen() ? m_history : nullptr; }
    // "效果 3 小节数".
    QString effectEdit(const QString& what) const;
    TableEdit<Effect> recordEdit(const QString& description, const QString& mergeKey = {});
    // For the stores that rewrite the open Effect's Materials too.
    SnapshotEdit<EffectWithBank> recordBankEdit(const QString& description);
    // Opens Effect e (refused as the switch refuses), puts its snapshot back and shows it.
    Outcome restore(int e, const EffectEditorPosition& pos, const Effect& fx,
                    const MaterialBank* bank);
    EffectFilesContext files();
    // An import that was made rewrote the Effect, its bank or both.
    Outcome announced(Outcome outcome);
    int barCount() const { return effect().parts[m_pos.part].barCount; }
    int beatsPerBar() const { return effect().parts[m_pos.part].beatsPerBar; }

    void announce(EffectAspects changed) const { m_changes.announce(changed); }

    EffectEditorModel m;
    ChangeNotice<EffectAspect> m_changes;
    EditHistory* m_history = nullptr;
    std::function<void()> m_reveal;
    EffectEditorPosition m_pos;
    SimulatedDrum m_drum;
    Effect m_blank;
    bool m_initialised = false;
    int m_copiedPart = kNoBassPart;
    int m_copiedBar = 0;
    int m_blinkPhase = 0;
};

}  // namespace kx
