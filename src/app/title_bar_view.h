#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>

#include "app/title_bar.h"
#include "base/paths.h"
#include "shell/appearance.h"
#include "shell/picture_store.h"

namespace kx {

// The title bar across the top of the main window: the function buttons 1, 3, 4, 5 and 6, save,
// connect, broadcast mode, the datagram counters, firmware upgrade, developer console, the relay
// indicators and the logo. It paints its own buttons and reports what the user asks for; the
// operations themselves belong to the program that wires it.
class TitleBarView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 87;  // 1,300 twips
    static constexpr std::array<int, 5> kFunctionIndices{1, 3, 4, 5, 6};
    static constexpr int kSaveRestoreMs = 200;

    TitleBarView(const AppPaths& paths, const Appearance& appearance, const PictureStore& pictures,
                 QWidget* parent = nullptr);

    // The status line: the time and a short text (a save and its file, a function that needs the
    // connection, a socket that failed), until the next one.
    void showStatus(const QString& text);
    // The whole line shown last, time included ("" before the first).
    const QString& statusText() const { return m_statusText; }

    // The connect button shows the link state: caption and colour.
    void setConnected(bool connected);
    void setConnectCaption(const QString& caption);
    QString connectCaption() const;
    void setConnectColour(Bgr colour);
    void setConnectEnabled(bool enabled);
    // While a transfer runs, every function that would start or interrupt one is disabled: the
    // function buttons, connect, broadcast mode, the counters' way to the upgrade view, upgrade
    // and the developer console. All of them come back when it ends.
    void setTransferRunning(bool running);
    bool transferRunning() const { return m_transferRunning; }

    void setCounters(int sent, int received);
    void setBroadcastMode(bool on);  // without reporting a change
    void setDeveloperMode(bool on);  // shows or hides the developer console button
    void setRelay(int n, bool on);   // relay indicator n = 1..9
    bool relayOn(int n) const;

    // Paints function button index in the selected colour and the others in the normal one; 0
    // (a view no button leads to) leaves none selected.
    void highlightFunction(int index);
    int highlightedFunction() const { return m_highlighted; }

    const TitleBarLook& look() const { return m_look; }
    QPushButton* functionButton(int index) const;
    QPushButton* saveButton() const { return m_save; }
    QPushButton* connectButton() const { return m_connect; }
    QCheckBox* broadcastCheck() const { return m_broadcast; }
    QLabel* countersLabel() const { return m_counters; }

  signals:
    // A function button (1, 3, 4, 5 or 6) after the buttons were repainted; what it leads to is
    // the shell's.
    void functionChosen(int index);
    // Save now; the button reads "保存中" during the call and "保存" again 200 ms after it.
    void saveRequested();
    void connectClicked();
    void broadcastModeChanged(bool on);
    void countersDoubleClicked();
    void upgradeClicked();
    void developerConsoleClicked();
    // The DMX monitor's button at the end of the relay row.
    void monitorClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void chooseFunction(int index);
    void save();

    TitleBarLook m_look;
    QPixmap m_background;
    std::array<QPixmap, PictureStore::kRelayCount> m_relayOnPictures;
    std::array<QPixmap, PictureStore::kRelayCount> m_relayOffPictures;
    void updateTransferControls();

    int m_highlighted = 0;
    bool m_connectBusy = false;
    bool m_transferRunning = false;
    std::map<int, QPushButton*> m_functions;
    QPushButton* m_save;
    QPushButton* m_connect;
    QPushButton* m_focus;
    QCheckBox* m_broadcast;
    QLabel* m_counters;
    QPushButton* m_upgrade;
    QPushButton* m_developer;
    QPushButton* m_monitor;
    QLabel* m_relayLabel;
    std::array<QLabel*, PictureStore::kRelayCount> m_relays{};
    std::array<bool, PictureStore::kRelayCount> m_relayState{};
    QLabel* m_logo;
    QLabel* m_status;
    QString m_statusText;
    QTimer m_saveRestore;
};

}  // namespace kx
