#include "materials/builtin_materials_panel.h"

#include <QMouseEvent>

#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

// It covers the Material editor's faders, steps row and lower panels, all of which an import
// replaces, and leaves the header, the Virtual Fixture bar and the settings column in view.
constexpr int kMargin = 12;
constexpr int kCategoryPitch = 99;
constexpr int kListTop = 84;
constexpr int kListColumns = 4;
constexpr int kEntryPitchX = 200;
constexpr int kEntryPitchY = 42;
constexpr int kEntryWidth = 194;
constexpr int kEntryHeight = 36;
constexpr int kPanelWidth = 820;
constexpr int kPanelHeight = 582;

}  // namespace

BuiltInMaterialsPanel::BuiltInMaterialsPanel(const QString& appSetDir, Prompter& prompter,
                                             const Appearance& appearance, QWidget* parent)
    : QWidget(parent),
      m_state(appSetDir),
      m_prompter(prompter),
      m_colours(builtInColours(appearance.customised,
                               appearance.colour(ColourKey::公用Command背景颜色),
                               appearance.colour(ColourKey::素材_通用选中颜色))) {
    setObjectName("Frame素材库");
    makeOpaque(this);
    resize(kPanelWidth, kPanelHeight);

    Label素材库 = new QLabel(this);
    Label素材库->setObjectName("Label素材库");
    Label素材库->setGeometry(kMargin, 8, 300, 28);
    QFont bold = Label素材库->font();
    bold.setBold(true);
    Label素材库->setFont(bold);
    Command隐藏 = makeButton(this, "Command隐藏", "隐藏", QRect(kPanelWidth - 100, 8, 88, 28));
    connect(Command隐藏, &QPushButton::clicked, this, &BuiltInMaterialsPanel::hidePanel);

    for (int c = 1; c <= kBuiltInCategoryCount; ++c) {
        QPushButton* b =
            makeButton(this, "Command素材分类" + QString::number(c), builtInCategoryCaption(c),
                       QRect(kMargin + (c - 1) * kCategoryPitch, 44, kCategoryPitch - 6, 32));
        connect(b, &QPushButton::clicked, this, [this, c] { selectBuiltInCategory(c); });
        m_categories[c] = b;
    }
    for (int n = 1; n <= kBuiltInEntries; ++n) {
        const int col = (n - 1) % kListColumns;
        const int row = (n - 1) / kListColumns;
        QPushButton* b =
            makeButton(this, "Command内置素材" + QString::number(n), "",
                       QRect(kMargin + col * kEntryPitchX, kListTop + row * kEntryPitchY,
                             kEntryWidth, kEntryHeight));
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, n] { importBuiltInMaterial(n); });
        m_entries[n] = b;
    }

    Text说明 = new QPlainTextEdit(this);
    Text说明->setObjectName("Text说明");
    Text说明->setReadOnly(true);
    Text说明->setGeometry(kMargin, kListTop, kPanelWidth - 2 * kMargin,
                          10 * kEntryPitchY - (kEntryPitchY - kEntryHeight));
    Text说明->viewport()->installEventFilter(this);

    Label提示 = new QLabel(kBuiltInHint, this);
    Label提示->setObjectName("Label提示");
    Label提示->setGeometry(kMargin, kListTop + 10 * kEntryPitchY + 4, kPanelWidth - 2 * kMargin,
                           28);

    applyViewColours(this, appearance);
    refresh();
}

void BuiltInMaterialsPanel::attachLibraryButtons(QAbstractButton* standard,
                                                 QAbstractButton* personal) {
    m_standardButton = standard;
    m_personalButton = personal;
    connect(standard, &QAbstractButton::clicked, this,
            [this] { openBuiltInLibrary(kStandardLibrary); });
    connect(personal, &QAbstractButton::clicked, this,
            [this] { openBuiltInLibrary(kPersonalLibrary); });
    refresh();
}

void BuiltInMaterialsPanel::openBuiltInLibrary(const QString& library) {
    m_state.openLibrary(library);
    refresh();
    if (m_state.shown()) raise();
}

void BuiltInMaterialsPanel::selectBuiltInCategory(int category) {
    m_state.selectCategory(category);
    refresh();
}

void BuiltInMaterialsPanel::listBuiltInMaterials() {
    m_state.list();
    refresh();
}

void BuiltInMaterialsPanel::showBuiltInDescription(int entry) {
    m_state.showDescription(entry);
    refresh();
}

void BuiltInMaterialsPanel::importBuiltInMaterial(int entry) {
    if (!m_import) return;
    const Outcome outcome = m_import(m_state.entry(entry));
    if (!outcome.message.isEmpty()) m_prompter.message(outcome.message);
    if (!outcome.done) return;
    hidePanel();
    emit imported();
}

void BuiltInMaterialsPanel::hidePanel() {
    m_state.hide();
    refresh();
}

void BuiltInMaterialsPanel::refresh() {
    Label素材库->setText(m_state.library());
    for (auto& [c, b] : m_categories)
        setButtonBackColour(b, m_state.categoryColour(c, m_colours));
    for (auto& [n, b] : m_entries) {
        const BuiltInEntry e = m_state.entry(n);
        b->setText(e.caption);
        b->setVisible(!e.path.isEmpty());
    }
    Text说明->setPlainText(QString(m_state.description()).remove('\r'));
    Text说明->setVisible(m_state.descriptionShown());
    if (m_state.descriptionShown()) Text说明->raise();
    if (m_standardButton)
        setButtonBackColour(m_standardButton, m_state.libraryColour(kStandardLibrary, m_colours));
    if (m_personalButton)
        setButtonBackColour(m_personalButton, m_state.libraryColour(kPersonalLibrary, m_colours));
    setVisible(m_state.shown());
}

bool BuiltInMaterialsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return false;
    if (watched == Text说明->viewport()) {
        m_state.hideDescription();
        refresh();
        return true;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::RightButton) return false;
    for (const auto& [n, b] : m_entries) {
        if (b == watched) {
            showBuiltInDescription(n);
            return true;
        }
    }
    return false;
}

}  // namespace kx
