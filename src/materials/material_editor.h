#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/aspects.h"
#include "base/dialogs.h"
#include "base/outcome.h"
#include "base/paths.h"
#include "base/table_edit.h"
#include "materials/builtin_materials.h"
#include "materials/chase_generator.h"
#include "materials/definition_offer.h"
#include "materials/material_editor_rules.h"
#include "materials/material_editor_state.h"
#include "materials/step_operations.h"

namespace kx {

// What a Material window store or move changed, for its view to redraw.
enum class MaterialAspect {
    Opened,        // everything: a Material opened, opened again, put back or regenerated
    Captions,      // the Effect's and Module's names and the position caption
    Settings,      // remark, times, fades, jump, brightness and the modes
    Steps,         // the Step count and the current Step
    Fixtures,      // the shown and the selected Virtual Fixtures
    Values,        // the channel values
    Channels,      // fixture and channel counts, definitions, mappings, the channel page
    TempChannels,  // the Temporary Channels and their panel
    Picker,        // the definition picker
    FixturePanel,  // the fixture panel: open, its patched fixture and library page
    MotionPanel,   // the Motion Generator panel and its parameters
    Demo,          // the demonstration and its port
};
using MaterialAspects = Aspects<MaterialAspect>;

// The Material window's rules and state: which Material, Step and Virtual Fixture it shows, what
// is selected, which panels and pages are open, and one entry point per kind of edit. Every edit
// goes into the Material at once, one entry of the edit history; the window draws from the
// accessors.
class MaterialEditor {
  public:
    MaterialEditor(MaterialEditorSources sources, AppPaths paths, FileDialogs dialogs);

    // --- The window as a whole

    void setHistory(MaterialEditorHistory history) { m_history = std::move(history); }
    // The view that redraws what each store, restore, opening or move announces.
    void observe(ChangeNotice<MaterialAspect>::Observer observer) {
        m_changes.observe(std::move(observer));
    }

    // Opening the Material of Module 1-20, Slot 1-12 of the open Effect, whose and whose Module's
    // names the captions show: default times, Virtual Fixture 1 shown, the first Step current,
    // nothing selected, the demonstration closed.
    void open(int module, int slot, const QString& effectName, const QString& moduleName);
    // The opening steps again for the same Material (after a delete, an import, a paste or a
    // generator rewrote it).
    void reload();
    int module() const { return m_module; }
    int slot() const { return m_slot; }
    int number() const { return materialNumber(m_module, m_slot); }
    // The captions' names again (an undo opened another Effect or Material).
    void setNames(const QString& effectName, const QString& moduleName);
    Material& material() { return m_src.bank.at(m_module, m_slot); }
    const Material& material() const { return m_src.bank.at(m_module, m_slot); }
    // "效果:" and the Effect's name, "模块:" and the Module's name.
    QString effectCaption() const { return QStringLiteral("效果:") + m_effectName; }
    QString moduleCaption() const { return QStringLiteral("模块:") + m_moduleName; }
    // The open Effect's number (0: not known), for the position caption.
    void setEffectNumber(int effect);
    // "效果 2  模块 1  素材 3": which Effect, Module and Slot the window edits (the Effect left out
    // while not known).
    QString positionCaption() const;
    void setColours(const MaterialEditorColours& colours) { m_colours = colours; }
    const MaterialEditorColours& colours() const { return m_colours; }

    // --- Settings

    void setRemark(const QString& text);
    void setPerStepTime(bool on);
    // The unified time: a time is stored, anything else ignored (the box keeps its colour).
    bool typeUnifiedTime(const QString& text);
    // The current Step's time: 60000 or more marks the box magenta, a stored time restores it.
    FieldMark typeStepTime(const QString& text);
    bool stepTimeBoxShown() const { return material().perStepTime() == 1; }
    QString timeCaption() const { return timeCaptionFor(stepTimeBoxShown()); }
    int shownTime() const;
    QString shownTimeText() const { return timeText(shownTime()); }
    void setAllStepsFade(bool on);
    bool fadeToNextShown() const { return material().allStepsFade() == 0; }
    void setFadeToNext(bool on);
    FieldMark typeJumpSize(const QString& text);
    void setJumpAtRangeEnd(bool on);
    // Position i of "100" .. "0": brightness 100 - i.
    void chooseBrightness(int listPosition);
    int brightnessPosition() const { return material().brightnessCut(); }
    void chooseStartMode(int index);
    void chooseVirtualDimming(int index);
    void chooseHardwareSpeed(int index);
    void setRunFromStart(bool on);
    void chooseMotionMode(int index);

    // --- Steps

    int currentStep() const { return m_currentStep; }
    QStringList stepList() const { return numberList(1, material().stepCount()); }
    QString totalCaption() const { return totalStepsCaption(material().stepCount()); }
    void previousStep();
    void nextStep();
    void selectStep(int listPosition);
    // "加一步" (copy off) and "复制加一步" (copy on); a new empty Step takes the Step time shown.
    Outcome addStep(bool copy);
    void deleteStep();
    // The copy count box: any whole number; below 1 or not a number counts as 0 and marks it.
    void typeCopyCount(const QString& text);
    int copyCount() const { return m_copyCount; }
    MaterialColour copyCountColour() const;
    Outcome copySteps();
    Outcome pasteSteps();
    Outcome pasteStepsAtEnd();

    // --- Material operations (each asks where it must through the dialogs' prompter)

    Outcome deleteMaterial();
    Outcome exportMaterial();
    Outcome importMaterial();
    Outcome copyMaterial();
    Outcome pasteMaterial();

    // --- Temporary Channels

    // "code - name" of every used entry, in entry order.
    QStringList tempChannelItems() const;
    bool tempPanelOpen() const { return m_tempPanelOpen; }
    void toggleTempPanel();
    int tempPage() const { return m_tempPage; }
    void flipTempPage();
    // A code button: 0 does nothing; a listed code leaves the list, another joins it unless 20
    // are listed ("最多支持20个通道").
    Outcome pressTempCode(int code);
    MaterialColour tempCodeColour(int code) const;
    QString codeCaption(int code) const;

    // --- Demonstration

    bool demoOpen() const { return m_demoOpen; }
    // "演示": the panel opens and every Material's run starts again.
    void startDemo();
    void stopDemo();
    int displayedPort() const { return m_displayedPort; }
    void choosePort(int port);
    // The live outputs: the static preview of the current Step, and one tick of the run with
    // the text view of the chosen port.
    void composeStatic(DmxFrame& frame);
    PortText composeRun(bool jumpActive, DmxFrame& frame);

    // --- Virtual Fixture bar

    int shownFixture() const { return m_shownFixture; }
    bool fixtureButtonShown(int fixture) const;
    MaterialColour fixtureColour(int fixture) const;
    // Selected: any Virtual Fixture whose button is not grey (the shown one too).
    bool isSelected(int fixture) const;
    std::vector<int> selectedFixtures() const;
    void leftClickFixture(int fixture);
    void rightClickFixture(int fixture);
    void selectAll();
    void selectOdd();
    void selectEven();
    void setLinkAll(bool on);
    bool linkAll() const { return m_linkAll; }

    // --- Values and faders

    int shownValue(int channel) const;
    // Value entry on channel 1-32: the shown Virtual Fixture, then every selected one (all
    // channels with "所有通道联动"), then Step 1 when the Material had none.
    void enterValue(int channel, int value);
    // A value box: only a whole number 0-255 is entered; false when the text was ignored.
    bool typeValue(int channel, const QString& text);
    // The wheel or an arrow key on a channel: one up (1) or down (0).
    void wheelStep(int direction, int channel);
    void copyValues();
    void pasteValues();
    void setEveryValue(int value);
    int channelPage() const { return m_channelPage; }
    void setChannelPage(int page);
    bool channelShown(int channel) const;
    std::optional<MaterialColour> channelPageColour(int page) const;
    QString channelDefinition(int channel) const;

    // --- Channel definition picker

    int definingChannel() const { return m_definingChannel; }
    // A click on a definition box opens the picker there, or closes it when open there.
    void clickDefinition(int channel);
    void pickCode(int code);
    void closePicker();
    int pickerPage() const { return m_pickerPage; }
    void flipPickerPage();
    MaterialColour pickerCodeColour(int code) const;

    // --- Fixture panel

    const FixtureLibrary& library() const { return m_src.library; }
    bool fixturePanelOpen() const { return m_fixturePanelOpen; }
    // Tells when the groups file could not be read.
    Outcome openFixturePanel();
    void closeFixturePanel();
    FieldMark typeFixtureCount(const QString& text);
    FieldMark typeChannelCount(const QString& text);
    int patchedFixture() const { return m_patchedFixture; }
    void choosePatchedFixture(int fixture);
    MaterialColour patchButtonColour(int fixture) const;
    int libraryPage() const { return m_libraryPage; }
    void chooseLibraryPage(int page);
    MaterialColour libraryPageColour(int page) const;
    bool libraryFixtureShown(int number) const;
    QString libraryFixtureCaption(int number) const;
    // "页1 A-12": the page, port and start address of a fixture of the shown page.
    QString libraryFixturePlace(int number) const;
    MaterialColour libraryFixtureColour(int number) const;
    void toggleLibraryFixture(int number);
    void clearFixtureSelection();
    QString groupCaption(int group) const;
    void pressGroup(int group);

    // The Material has channels (or a fixture to take them from) but none is defined: it drives
    // nothing, and the window says so.
    bool definitionsMissing() const;
    // Taking the first mapped fixture's Channel Functions, when there is one to take.
    std::optional<DefinitionOffer> definitionOffer() const;
    // "采用 灯具 1 [RGB帕灯] 的通道定义", the offer's tooltip; "" when there is none.
    QString definitionOfferText() const;
    // One store: the offer's definitions into the Material; false when there was nothing to take.
    bool takeFixtureDefinitions();

    // --- Motion Generator panel

    bool motionPanelShown() const { return m_motionPanelOpen && material().motionMode() != 0; }
    // "显示参数": out-of-range parameters of the Material and the shown Virtual Fixture take
    // their defaults.
    void showMotionPanel();
    void hideMotionPanel();
    QString motionPanelTitle() const;
    int globalParameter(int entry) const { return material().motionGlobal(entry); }
    int fixtureParameter(int entry) const;
    FieldMark typeGlobalParameter(int entry, const QString& text);
    FieldMark typeFixtureParameter(int entry, const QString& text);
    // "生成动作": one revolution as Steps, played fading at a tenth per Step from Step 1.
    bool generateMotion();

    // --- Tools over the window

    // "生成数据" of the chase generator on the shown Material; the window opens it again.
    ChaseResult runChase(const ChaseFields& fields);
    // A built-in Material replaces the shown one (after the question); the window opens it again.
    Outcome applyBuiltIn(const BuiltInEntry& entry);

  private:
    void announce(MaterialAspects changed) const { m_changes.announce(changed); }
    // Counts the stores in progress: a store made by another (a paste entering values, a delete
    // opening the Material again) is part of the outer store's entry.
    struct StoreDepth {
        StoreDepth(int& count) : depth(count) { ++depth; }
        ~StoreDepth() { --depth; }
        StoreDepth(const StoreDepth&) = delete;
        StoreDepth& operator=(const StoreDepth&) = delete;
        int& depth;
    };
    struct Store {
        StoreDepth depth;
        TableEdit<Material> edit;
    };
    // Starts a store of the shown Material, described "素材 <number> <what>".
    Store recordEdit(const QString& what, const QString& mergeKey = {});
    // "素材 2/1/3": Effect, Module and Slot of the shown Material.
    QString tableName() const;
    // After a Material was put back: it is shown, the Step and Virtual Fixture of its edit
    // current where they still exist; the panels, pages and demonstration stay valid for it.
    void showRestored(int module, int slot, int step, int fixture);
    // What opening a Material resets (its times aside).
    void resetPosition();
    void showFixture(int fixture);
    void storeValue(int channel, int value);
    MaterialAspects valuesChanged() const;
    // A Step operation that was made changed `changed`.
    Outcome announced(Outcome outcome, MaterialAspects changed) const;
    // The Step operations' view of the current Material and Step.
    StepContext steps();
    void clearSelection() { m_selected.reset(); }
    void prepareMotionParameters();

    MaterialEditorSources m_src;
    AppPaths m_paths;
    FileDialogs m_dialogs;
    MaterialEditorColours m_colours;
    MaterialEditorHistory m_history;
    ChangeNotice<MaterialAspect> m_changes;
    int m_storeDepth = 0;

    int m_module = 1;
    int m_slot = 1;
    QString m_effectName;
    QString m_moduleName;
    int m_effectNumber = 0;
    int m_currentStep = 0;
    int m_shownFixture = 1;
    std::bitset<kMaxVirtualFixtures + 1> m_selected;  // teal buttons
    bool m_linkAll = false;
    int m_channelPage = 0;
    std::array<std::uint8_t, kMaxMaterialChannels> m_channelClipboard{};
    int m_copyCount = 0;
    bool m_copyCountValid = true;

    bool m_tempPanelOpen = false;
    int m_tempPage = 0;
    bool m_demoOpen = false;
    int m_displayedPort = 0;
    int m_definingChannel = 0;
    int m_pickerPage = 0;
    bool m_fixturePanelOpen = false;
    int m_patchedFixture = 1;
    int m_libraryPage = 0;
    bool m_motionPanelOpen = false;
};

}  // namespace kx
