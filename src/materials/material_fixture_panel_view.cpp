#include "materials/material_fixture_panel_view.h"

#include <QLabel>
#include <QLineEdit>

#include "materials/material_view_support.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

// The buttons of the page's patched fixtures, in number order, each saying page, port, address
// and name ("页1 A-12 RGB帕灯"). Up to 48 fit six to a row; a fuller page gets ten narrower ones to
// a row, without the page (its button above says it).
constexpr int kFixturesTop = 92;
constexpr int kRoomyFixtures = 48;
constexpr int kRoomyColumns = 6;
constexpr QSize kRoomyPitch{113, 23};
constexpr QSize kRoomyButton{111, 21};
constexpr int kDenseColumns = 10;
constexpr QSize kDensePitch{68, 18};
constexpr QSize kDenseButton{66, 17};

QRect fixtureButtonRect(int position, int shown) {
    const bool roomy = shown <= kRoomyFixtures;
    const int columns = roomy ? kRoomyColumns : kDenseColumns;
    const QSize pitch = roomy ? kRoomyPitch : kDensePitch;
    return {QPoint(8 + position % columns * pitch.width(),
                   kFixturesTop + position / columns * pitch.height()),
            roomy ? kRoomyButton : kDenseButton};
}

}  // namespace

MaterialFixturePanel::MaterialFixturePanel(MaterialEditor& editor, QWidget* parent)
    : QGroupBox("灯具设置", parent), m_editor(editor) {
    setObjectName("Frame灯具设置");
    makeOpaque(this);
    makeLabel(this, "灯具数", QRect(8, 20, 44, 22));
    m_fixtureCount = makeCountBox("Combo设置灯具数", kMaxVirtualFixtures, QRect(54, 20, 60, 22),
                                  &MaterialEditor::typeFixtureCount);
    makeLabel(this, "通道数", QRect(124, 20, 44, 22));
    m_channelCount = makeCountBox("Combo设置通道数", kMaxMaterialChannels, QRect(170, 20, 60, 22),
                                  &MaterialEditor::typeChannelCount);
    for (int p = 0; p < libraryPages; ++p) {
        m_pages[p] = makeButton(this, "Command灯库页" + QString::number(p + 1),
                                "页" + QString::number(p + 1), QRect(250 + p * 56, 20, 52, 22));
        connect(m_pages[p], &QPushButton::clicked, this,
                [this, p] { m_editor.chooseLibraryPage(p); });
    }
    QPushButton* clear =
        makeButton(this, "Command清除灯具选择", "清除灯具选择", QRect(372, 20, 100, 22));
    connect(clear, &QPushButton::clicked, this, [this] { m_editor.clearFixtureSelection(); });
    m_takeDefinitions =
        makeButton(this, "Command灯具设置采用定义", "采用灯具通道定义", QRect(480, 20, 150, 22));
    connect(m_takeDefinitions, &QPushButton::clicked, this,
            [this] { m_editor.takeFixtureDefinitions(); });
    QPushButton* hide = makeButton(this, "Command灯具设置隐藏", "隐藏", QRect(740, 20, 64, 22));
    connect(hide, &QPushButton::clicked, this, [this] { m_editor.closeFixturePanel(); });

    for (int v = 1; v <= kMaxVirtualFixtures; ++v) {
        QPushButton* b =
            makeButton(this, "Command配接灯具" + QString::number(v), QString::number(v),
                       QRect(8 + (v - 1) % 20 * 40, 46 + (v - 1) / 20 * 22, 38, 20));
        connect(b, &QPushButton::clicked, this, [this, v] { m_editor.choosePatchedFixture(v); });
        m_patch[v] = b;
    }
    for (int n = 1; n <= kFixturesPerPage; ++n) {
        QPushButton* b = makeButton(this, "Command实际_灯具" + QString::number(n), {},
                                    fixtureButtonRect(n - 1, kFixturesPerPage));
        connect(b, &QPushButton::clicked, this, [this, n] { m_editor.toggleLibraryFixture(n); });
        m_fixtures[n] = b;
    }
    for (int g = 1; g <= kGroupsOffered; ++g) {
        QPushButton* b = makeButton(this, "Command灯具分组" + QString::number(g), {},
                                    QRect(696 + (g - 1) % 2 * 56, 92 + (g - 1) / 2 * 30, 54, 28));
        connect(b, &QPushButton::clicked, this, [this, g] { m_editor.pressGroup(g); });
        m_groups[g] = b;
    }
    for (QPushButton* b : findChildren<QPushButton*>())
        makeGraphical(b);
}

// Outside any other lambda: a lambda that captured this, made inside another that captured it
// too, is miscompiled under the sanitizers.
QComboBox* MaterialFixturePanel::makeCountBox(const QString& name, int max, QRect r,
                                              FieldMark (MaterialEditor::*type)(const QString&)) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setEditable(true);
    box->addItems(numberList(0, max));
    box->setGeometry(r);
    onTypedOrChosen(box, this,
                    [this, box, type](const QString& text) { countTyped(box, type, text); });
    return box;
}

void MaterialFixturePanel::countTyped(QComboBox* box,
                                      FieldMark (MaterialEditor::*type)(const QString&),
                                      const QString& text) {
    m_typed = box;
    const FieldMark mark = (m_editor.*type)(text);
    m_typed = nullptr;
    markField(box, mark, m_editor.colours());
}

void MaterialFixturePanel::redraw(bool counts) {
    const Material& m = m_editor.material();
    const MaterialEditorColours& colours = m_editor.colours();
    for (auto [box, count] : {std::pair{m_fixtureCount, m.fixtureCount()},
                              std::pair{m_channelCount, m.channelCount()}}) {
        if (!counts || box == m_typed) continue;
        box->setCurrentIndex(count);
        markField(box, FieldMark::Normal, colours);
    }
    for (int v = 1; v <= kMaxVirtualFixtures; ++v) {
        m_patch[v]->setVisible(v <= m.fixtureCount());
        setButtonBackColour(m_patch[v], m_editor.patchButtonColour(v));
    }
    for (int p = 0; p < libraryPages; ++p)
        setButtonBackColour(m_pages[p], m_editor.libraryPageColour(p));
    drawLibraryFixtures();
    drawGroupCaptions();
}

void MaterialFixturePanel::drawLibraryFixtures() {
    int shown = 0;
    for (int n = 1; n <= kFixturesPerPage; ++n)
        shown += m_editor.libraryFixtureShown(n) ? 1 : 0;
    int position = 0;
    for (int n = 1; n <= kFixturesPerPage; ++n) {
        QPushButton* b = m_fixtures[n];
        b->setVisible(m_editor.libraryFixtureShown(n));
        const QString name = m_editor.libraryFixtureCaption(n);
        const QString place = m_editor.libraryFixturePlace(n);
        if (b->isVisibleTo(this)) b->setGeometry(fixtureButtonRect(position++, shown));
        b->setText((shown <= kRoomyFixtures ? place : place.section(' ', 1)) + " " + name);
        b->setToolTip(place + "  " + QString::number(n) + " " + name);
        setButtonBackColour(b, m_editor.libraryFixtureColour(n));
    }
    showOffer();
}

void MaterialFixturePanel::showOffer() {
    const QString offer = m_editor.definitionOfferText();
    m_takeDefinitions->setVisible(!offer.isEmpty());
    m_takeDefinitions->setToolTip(offer);
}

void MaterialFixturePanel::drawGroupCaptions() {
    for (int g = 1; g <= kGroupsOffered; ++g) {
        m_groups[g]->setText(m_editor.groupCaption(g));
        m_groups[g]->setToolTip(m_editor.groupCaption(g));
        setButtonBackColour(m_groups[g], m_editor.colours().normal);
    }
}

}  // namespace kx
