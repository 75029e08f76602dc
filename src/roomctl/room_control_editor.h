#pragma once

#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "base/aspects.h"
#include "base/table_edit.h"
#include "fixtures/action_thresholds.h"
#include "roomctl/room_control_state.h"

namespace kx {

// What the room control editor needs of the Controller link; the application wires it.
struct RoomControlLink {
    std::function<bool()> connected;
    // The live output is on the room control view.
    std::function<bool()> inFront;
    // Command 0xCE with these arguments.
    std::function<void(std::span<const std::uint8_t> args)> sendControl;
    // The VJ server selection changed: it goes into the frames, the frame is cleared and 100 frame
    // sets are sent.
    std::function<void(std::uint8_t server)> vjServerChanged;
};

// What a room control store or move changed, for its view to redraw.
enum class RoomAspect {
    Settings,  // the lists, switches and relay source of the record, and the XY action limit
    Codes,     // the effector keys' codes and which boxes hold refused text
    Focus,     // the effector key whose box has the focus
};
using RoomAspects = Aspects<RoomAspect>;

struct RoomControlEditorState {
    int focusedKey = 0;  // the effector key whose code box has the focus, 0 none
    // Code boxes holding text that was refused (key k at k - 1).
    std::array<bool, kEffectorKeysOffered> refused{};
    // Both "场景继电器控制选择" options are enabled; while they are not, a click stores nothing.
    bool relayOptionsEnabled = true;
};

// The room control editor's edits: every change to the Room Control record and to the XY default
// action limit goes through one of these, is stored at once and is recorded in the edit history.
// It also learns effector codes (a learnt code is an edit like a typed one):
// while a code box has the focus, the Controller's infrared receiver is kept on and the code it
// reports lands in the focused key.
class RoomControlEditor {
  public:
    RoomControlEditor(RoomControl& room, ActionThresholds& thresholds, const SceneTable& scenes,
                      RoomControlLink link);

    // The view that redraws what each store, restore or move announces.
    void observe(ChangeNotice<RoomAspect>::Observer observer) {
        m_changes.observe(std::move(observer));
    }

    // Where the stores are recorded, and how the editor shows a record put back by undo or redo
    // (its view comes to the front).
    void setHistory(EditHistory* history, std::function<void()> reveal);

    const RoomControlEditorState& state() const { return m_state; }
    const RoomControl& room() const { return m_room; }
    const SceneTable& scenes() const { return m_scenes; }
    // The value a list shows: its field, or the XY default action limit.
    int listValue(RoomList list) const;

    // An entry of a list was chosen: its value is stored (false for an index outside the list).
    // The VJ server list also tells the link.
    bool chooseEntry(RoomList list, int index);
    void setCheck(int check, bool ticked);  // index into roomChecks()
    // Option 1 or 2; stored only while both options are enabled.
    bool chooseRelaySource(int option);
    void setRelayOptionsEnabled(bool enabled);
    // The text of key k's code box (1-17) changed: stored when it holds a code, otherwise the box
    // is marked refused and the key keeps its code.
    bool typeEffectorCode(int key, const QString& text);
    // A code the Controller reported lands in the focused key; false when the reply is not a NEC
    // report or no key is focused.
    bool receiveReply(std::uint8_t code, std::span<const std::uint8_t> data);
    // Every box shows its stored code again: none is refused (everything is announced).
    void codesShown();

    // A code box gained or lost the focus; the infrared-focus timer ticks 100 ms later.
    void focusKey(int key);
    void blurKey();
    QTimer& focusTimer() { return m_focusTimer; }

  private:
    void focusTick();
    void announce(RoomAspects changed) const { m_changes.announce(changed); }
    TableEdit<RoomControl> recordRoom(const QString& description, const QString& mergeKey = {});
    TableEdit<ActionThresholds> recordThresholds(const QString& description);

    RoomControl& m_room;
    ActionThresholds& m_thresholds;
    const SceneTable& m_scenes;
    RoomControlLink m_link;
    EditHistory* m_history = nullptr;
    std::function<void()> m_reveal;
    RoomControlEditorState m_state;
    ChangeNotice<RoomAspect> m_changes;
    QTimer m_focusTimer;  // Timer效果器红外焦点
};

}  // namespace kx
