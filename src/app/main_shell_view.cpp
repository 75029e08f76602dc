#include "app/main_shell_view.h"

namespace kx {

MainShell::MainShell(MainWindow& window, const AppPaths& paths, const Appearance& appearance,
                     QObject* parent)
    : QObject(parent),
      m_window(window),
      m_pictures(PictureStore::load(paths, appearance)),
      m_splash(new SplashView(m_pictures, appearance.customised)),
      m_titleBar(new TitleBarView(paths, appearance, m_pictures)) {
    connect(m_titleBar, &TitleBarView::functionChosen, this, [this](int index) {
        if (const auto it = m_buttonEditors.find(index); it != m_buttonEditors.end())
            enter(it->second);
    });
    window.setViewShown([this](QWidget* view) { m_titleBar->highlightFunction(buttonOf(view)); });
    if (!m_pictures.backgroundForViews.isNull()) {
        QPalette pal = window.palette();
        pal.setBrush(QPalette::Window, QBrush(m_pictures.backgroundForViews));
        window.setPalette(pal);
    }
}

MainShell::~MainShell() {
    m_window.setViewShown({});
}

void MainShell::createViews(std::vector<Entry> entries) {
    m_entries = std::move(entries);
    m_window.prepareView(m_splash, m_pictures.splash);
    m_window.dockTitleBar(m_titleBar);
    m_window.bringToFront(m_splash);
    for (const Entry& e : m_entries) {
        if (e.view != nullptr) m_window.prepareView(e.view, m_pictures.backgroundForViews);
        if (e.titleButton == 0) continue;
        if (e.startsOnButton || !m_buttonEditors.contains(e.titleButton)) setButtonEditor(e.id);
    }
}

const MainShell::Entry* MainShell::find(EditorId id) const {
    for (const Entry& e : m_entries)
        if (e.id == id) return &e;
    return nullptr;
}

int MainShell::buttonOf(const QWidget* view) const {
    for (const Entry& e : m_entries)
        if (e.view == view && view != nullptr) return e.titleButton;
    return 0;
}

QWidget* MainShell::view(EditorId id) const {
    const Entry* e = find(id);
    return e ? e->view : nullptr;
}

void MainShell::enter(EditorId id) {
    if (const Entry* e = find(id); e && e->enter) e->enter();
}

void MainShell::open(EditorId id, const std::any& at) {
    const Entry* e = find(id);
    if (e == nullptr) return;
    if (e->open) {
        e->open(at);
    } else if (e->enter) {
        e->enter();
    }
}

void MainShell::setButtonEditor(EditorId id) {
    const Entry* e = find(id);
    if (!e || e->titleButton == 0) return;
    m_buttonEditors[e->titleButton] = id;
    if (QPushButton* b = m_titleBar->functionButton(e->titleButton))
        b->setText(e->buttonCaption.isEmpty() ? e->title : e->buttonCaption);
}

}  // namespace kx
