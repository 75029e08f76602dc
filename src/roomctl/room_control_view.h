#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <functional>

#include "base/dialogs.h"
#include "roomctl/room_control_editor.h"
#include "storage/show_file.h"

namespace kx {

// The room control editor (live view 6): every room-wide setting of the Controller, the XY default
// action limit, the effector's infrared codes with their learning, and the show-wide buttons
// (Show File open / save as / new, version notes, the air-conditioner IR window).
class RoomControlView : public QWidget {
    Q_OBJECT
  public:
    struct Services {
        const Appearance& appearance;
        FileDialogs dialogs;
        ShowFile& showFile;
        RoomControlLink link;
        // Brings a view to the front.
        std::function<void(QWidget*)> showView;
        std::function<void()> openVersionNotes;
        std::function<void()> openAirConIr;
    };

    RoomControlView(RoomControl& room, ActionThresholds& thresholds, const SceneTable& scenes,
                    Services services, QWidget* parent = nullptr);

    RoomControlEditor& editor() { return m_editor; }

    // Entering the view (the live output has been told view 6): to the front, every field shown.
    void Fun_窗体载入();
    // Shows every field in its control, the Scene lists' entries with the Scenes' remarks and
    // every stored code (no box is left refused).
    void Fun_所有控件数据刷新();
    // The reply consumer: a NEC report lands in the focused key and its box.
    void Fun_效果器红外接收码值(std::uint8_t code, std::span<const std::uint8_t> data);

    QComboBox* list(RoomList l) const { return m_lists.at(static_cast<std::size_t>(l)); }
    QCheckBox* check(int index) const { return m_checks.at(static_cast<std::size_t>(index)); }
    QRadioButton* relayOption(int option) const {
        return m_relayOptions.at(static_cast<std::size_t>(option - 1));
    }
    QLineEdit* codeBox(int key) const { return m_codes.at(static_cast<std::size_t>(key - 1)); }
    QLabel* codeLabel(int key) const { return m_labels.at(static_cast<std::size_t>(key - 1)); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildFirstColumn();
    void buildSecondColumn();
    void buildEffectorFrame();
    void buildButtons();
    QComboBox* makeList(QWidget* parent, RoomList l, QRect r);
    QCheckBox* makeCheck(QWidget* parent, int index, QPoint at, int width);
    // What the editor announced, drawn from its state.
    void redraw(RoomAspects changed);
    void drawSettings();
    void drawSceneEntries();  // the Scene lists' entries with the Scenes' current remarks
    void drawCodes();
    void drawFocus();
    void showList(RoomList l);
    void colourCode(int key);
    void colourLabel(int key);
    int keyOfBox(const QObject* box) const;

    RoomControlEditor m_editor;
    Services m_services;
    RoomControlColours m_colours;
    int m_typedKey = 0;  // the effector key whose box is being typed into
    std::array<QComboBox*, kRoomListCount> m_lists{};
    std::array<QCheckBox*, kRoomCheckCount> m_checks{};
    std::array<QRadioButton*, kRelaySourceOptions> m_relayOptions{};
    std::array<QLineEdit*, kEffectorKeysOffered> m_codes{};
    std::array<QLabel*, kEffectorKeysOffered> m_labels{};
};

}  // namespace kx
