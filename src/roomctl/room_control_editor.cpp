#include "roomctl/room_control_editor.h"

namespace kx {

RoomControlEditor::RoomControlEditor(RoomControl& room, ActionThresholds& thresholds,
                                     const SceneTable& scenes, RoomControlLink link)
    : m_room(room), m_thresholds(thresholds), m_scenes(scenes), m_link(std::move(link)) {
    m_focusTimer.setObjectName("Timer效果器红外焦点");
    m_focusTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_focusTimer, &QTimer::timeout, [this] { focusTick(); });
}

void RoomControlEditor::setHistory(EditHistory* history, std::function<void()> reveal) {
    m_history = history;
    m_reveal = std::move(reveal);
}

TableEdit<RoomControl> RoomControlEditor::recordRoom(const QString& description,
                                                     const QString& mergeKey) {
    return {m_history,
            m_room,
            QStringLiteral("灯控"),
            description,
            mergeKey,
            [this](const RoomControl& room) {
                const bool vjChanged = room.vjServer != m_room.vjServer;
                m_room = room;
                // The frames carry the VJ server selection, as when it is chosen.
                if (vjChanged && m_link.vjServerChanged) m_link.vjServerChanged(m_room.vjServer);
                codesShown();
                if (m_reveal) m_reveal();
                return Outcome::success();
            }};
}

TableEdit<ActionThresholds> RoomControlEditor::recordThresholds(const QString& description) {
    return {m_history,
            m_thresholds,
            QStringLiteral("动作限制"),
            description,
            {},
            [this](const ActionThresholds& thresholds) {
                m_thresholds = thresholds;
                announce(RoomAspect::Settings);
                if (m_reveal) m_reveal();
                return Outcome::success();
            }};
}

int RoomControlEditor::listValue(RoomList list) const {
    const RoomControlField field = roomList(list).field;
    return field ? m_room.*field : m_thresholds.xyDefaultLimit;
}

bool RoomControlEditor::chooseEntry(RoomList list, int index) {
    const std::optional<int> value = roomListChoices(list, m_scenes).valueAt(index);
    if (!value) {
        announce(RoomAspect::Settings);
        return false;
    }
    const RoomControlField field = roomList(list).field;
    if (!field) {
        const auto edit = recordThresholds(roomListEditName(list));
        m_thresholds.xyDefaultLimit = *value;
        announce(RoomAspect::Settings);
        return true;
    }
    const auto edit = recordRoom(roomListEditName(list));
    const bool stored = setRoomControl(m_room, field, *value);
    // A refused value is announced too: the list shows the stored one again.
    announce(RoomAspect::Settings);
    if (!stored) return false;
    if (list == RoomList::VjServer && m_link.vjServerChanged)
        m_link.vjServerChanged(m_room.vjServer);
    return true;
}

void RoomControlEditor::setCheck(int check, bool ticked) {
    const RoomCheckEntry& entry = roomChecks().at(static_cast<std::size_t>(check));
    const auto edit = recordRoom(QString::fromUtf8(entry.caption));
    m_room.*entry.field = checkFieldValue(entry, ticked);
    announce(RoomAspect::Settings);
}

bool RoomControlEditor::chooseRelaySource(int option) {
    if (!m_state.relayOptionsEnabled) return false;
    const auto edit = recordRoom(QStringLiteral("场景继电器控制选择"));
    const bool stored = setRoomControl(m_room, &RoomControl::sceneRelaySource, option - 1);
    announce(RoomAspect::Settings);
    return stored;
}

void RoomControlEditor::setRelayOptionsEnabled(bool enabled) {
    m_state.relayOptionsEnabled = enabled;
}

bool RoomControlEditor::typeEffectorCode(int key, const QString& text) {
    if (key < 1 || key > kEffectorKeysOffered) return false;
    const std::optional<EffectorCode> code = parseEffectorCode(text);
    m_state.refused[static_cast<std::size_t>(key - 1)] = !code;
    if (!code) {
        announce(RoomAspect::Codes);
        return false;
    }
    const auto edit = recordRoom(QStringLiteral("效果器 ") + effectorKeyLabel(key),
                                 QStringLiteral("效果器码 %1").arg(key));
    const bool stored = setEffectorCode(m_room, key, *code);
    announce(RoomAspect::Codes);
    return stored;
}

bool RoomControlEditor::receiveReply(std::uint8_t code, std::span<const std::uint8_t> data) {
    const std::optional<EffectorCode> received = necReport(code, data);
    if (!received || m_state.focusedKey == 0) return false;
    m_state.refused[static_cast<std::size_t>(m_state.focusedKey - 1)] = false;
    const auto edit =
        recordRoom(QStringLiteral("效果器 ") + effectorKeyLabel(m_state.focusedKey) + " 学习");
    const bool stored = setEffectorCode(m_room, m_state.focusedKey, *received);
    announce(RoomAspect::Codes);
    return stored;
}

void RoomControlEditor::codesShown() {
    m_state.refused.fill(false);
    announce(RoomAspects::all());
}

void RoomControlEditor::focusKey(int key) {
    if (key < 1 || key > kEffectorKeysOffered) return;
    m_state.focusedKey = key;
    m_focusTimer.start(kIrFocusSettleMs);
    announce(RoomAspect::Focus);
}

void RoomControlEditor::blurKey() {
    m_state.focusedKey = 0;
    m_focusTimer.start(kIrFocusSettleMs);
    announce(RoomAspect::Focus);
}

void RoomControlEditor::focusTick() {
    const IrFocusStep step = irFocusTick(m_state.focusedKey, m_link.connected && m_link.connected(),
                                         m_link.inFront && m_link.inFront());
    if (step.receive && m_link.sendControl) {
        const std::array<std::uint8_t, 2> args{kNecReceive, *step.receive};
        m_link.sendControl(args);
    }
    if (step.nextMs > 0) {
        if (m_focusTimer.interval() != step.nextMs) m_focusTimer.setInterval(step.nextMs);
    } else {
        m_focusTimer.stop();
    }
}

}  // namespace kx
