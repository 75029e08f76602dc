#pragma once

#include <QStackedWidget>
#include <QWidget>
#include <functional>

namespace kx {

// The one top-level window: the title bar across the top and one view at a time below it. Its
// close box only asks for the shutdown; the shutdown hides it later.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 768;
    static constexpr int kTitleBarHeight = 87;  // 1,300 twips

    explicit MainWindow(std::function<void()> onCloseRequest, QWidget* parent = nullptr);

    QWidget* titleBarArea() const { return m_titleBar; }
    QStackedWidget* viewArea() const { return m_views; }
    // Shown at the end of start-up; from then on the window cannot be resized or maximised.
    void showFixed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> m_onCloseRequest;
    QWidget* m_titleBar;
    QStackedWidget* m_views;
};

}  // namespace kx
