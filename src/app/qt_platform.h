#pragma once

#include <QObject>
#include <array>

#include "app/base/platform.h"

namespace kx {

// The platform as the desktop program sees it, over Qt.
class QtPlatform : public QObject, public Platform {
    Q_OBJECT
public:
    explicit QtPlatform(QString programDir);

    std::uint32_t milliseconds() override;
    void sleep(int ms) override;
    void processEvents(int maxWaitMs) override;
    QDateTime localTime() override;
    void message(const QString& text) override;
    bool askYesNo(const QString& text) override;
    QString fileDialog(const FileDialog& dialog) override;
    std::uint16_t asyncKeyState(int virtualKey) override;
    QString programDir() override { return m_programDir; }

    // Virtual-key code of a Qt key, 0 when it has none.
    static int virtualKeyOf(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_programDir;
    std::array<bool, 256> m_down{};
    std::array<bool, 256> m_pressedSinceQuery{};
};

}  // namespace kx
