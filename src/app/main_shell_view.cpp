#include "app/main_shell_view.h"

#include <algorithm>

#include "app/placeholder_view.h"

namespace kx {

namespace {

struct ViewName {
    const char* objectName;
    const char* title;
};

constexpr std::array<ViewName, kShellViewCount> kViewNames{{
    {"FixtureLibraryView", "灯库"},
    {"EffectEditorView", "效果"},
    {"MaterialEditorView", "素材"},
    {"FirmwareUpgradeView", "升级程序"},
    {"DownloadView", "下载"},
    {"SceneEditorView", "场景"},
    {"RoomControlView", "灯控"},
    {"TestConsoleView", "测试"},
    {"IrLearningView", "空调红外学习"},
}};

}  // namespace

QString shellViewTitle(ShellView v) {
    return QString::fromUtf8(kViewNames[static_cast<int>(v)].title);
}

MainShell::MainShell(MainWindow& window, const AppPaths& paths, const Appearance& appearance,
                     QObject* parent)
    : QObject(parent),
      m_window(window),
      m_pictures(PictureStore::load(paths, appearance)),
      m_splash(new SplashView(m_pictures, appearance.customised)),
      m_titleBar(new TitleBarView(paths, appearance, m_pictures)),
      m_versionNotes(new VersionNotesWindow(appearance, &window)) {
    connect(m_titleBar, &TitleBarView::functionChosen, this, &MainShell::onFunction);
    if (!m_pictures.backgroundForViews.isNull()) {
        QPalette pal = window.palette();
        pal.setBrush(QPalette::Window, QBrush(m_pictures.backgroundForViews));
        window.setPalette(pal);
    }
}

void MainShell::createViews(const std::map<ShellView, QWidget*>& supplied) {
    m_window.prepareView(m_splash, m_pictures.splash);
    m_window.dockTitleBar(m_titleBar);
    m_window.showView(m_splash);
    for (int i = 0; i < kShellViewCount; ++i) {
        const auto v = static_cast<ShellView>(i);
        auto it = supplied.find(v);
        QWidget* w = it != supplied.end()
                         ? it->second
                         : new PlaceholderView(kViewNames[i].objectName, shellViewTitle(v));
        m_views[i] = w;
        m_window.prepareView(w, m_pictures.backgroundForViews);
    }
}

void MainShell::setEntry(ShellView v, std::function<void()> enter) {
    m_entries[static_cast<int>(v)] = std::move(enter);
}

void MainShell::enter(ShellView v) {
    const int i = static_cast<int>(v);
    if (m_entries[i]) {
        m_entries[i]();
    } else if (m_views[i]) {
        m_window.showView(m_views[i]);
    }
}

void MainShell::openVersionNotes() {
    m_versionNotes->Fun_窗体载入();
    m_window.centreOverMain(m_versionNotes);
}

void MainShell::onFunction(int index) {
    switch (index) {
        case 1:
            enter(irPageOpen && irPageOpen() ? ShellView::IrLearning : ShellView::RoomControl);
            break;
        case 3:
            enter(ShellView::FixtureLibrary);
            break;
        case 4: {
            static constexpr std::array<ShellView, 3> kEditors{
                ShellView::Scenes, ShellView::Effects, ShellView::Materials};
            enter(kEditors[std::clamp(m_titleBar->editorMode(), 0, 2)]);
            break;
        }
        case 5:
            enter(ShellView::TestConsole);
            break;
        case 6:
            enter(ShellView::Download);
            break;
        default:
            break;
    }
}

}  // namespace kx
