#include "roomctl/room_control_view.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QKeyEvent>

#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kColumnA = 12;
constexpr int kColumnB = 424;
constexpr int kColumnC = 836;
constexpr int kColumnWidth = 400;
constexpr int kEffectorWidth = 432;
constexpr int kRowHeight = 24;
constexpr int kOneRowFrame = 58;
constexpr int kFrameGap = 6;
constexpr int kCaptionX = 12;
constexpr int kFieldX = 96;
constexpr int kEffectorRows = 9;
constexpr int kEffectorPitchX = 212;
constexpr int kEffectorPitchY = 30;
constexpr int kCodeBoxMax = 64;  // room for spaces; what counts is the digits

// Frames stacked down a column of the view, each below the last.
class FrameStack {
  public:
    FrameStack(QWidget* parent, int x) : m_parent(parent), m_x(x) {}
    QGroupBox* add(const QString& name, const QString& title, int height) {
        QGroupBox* box =
            makeFrame(m_parent, title, QRect(m_x, m_y, kColumnWidth, height), "Frame" + name);
        m_y += height + kFrameGap;
        return box;
    }

  private:
    QWidget* m_parent;
    int m_x;
    int m_y = 8;
};

QRect field(int y, int width) {
    return {kFieldX, y, width, kRowHeight};
}

// A text key press on a list with fixed entries: what is typed is not an entry.
bool isTyping(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const QString text = static_cast<const QKeyEvent*>(event)->text();
    return !text.isEmpty() && text[0].isPrint() && text[0] != ' ';
}

}  // namespace

RoomControlView::RoomControlView(RoomControl& room, ActionThresholds& thresholds,
                                 const SceneTable& scenes, Services services, QWidget* parent)
    : QWidget(parent),
      m_editor(room, thresholds, scenes, services.link),
      m_services(std::move(services)),
      m_colours(roomControlColours(m_services.appearance)) {
    setObjectName("RoomControlView");
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0xe0, 0xe4, 0xec));
    setPalette(pal);
    buildFirstColumn();
    buildSecondColumn();
    buildEffectorFrame();
    buildButtons();
    applyViewColours(this, m_services.appearance);
    m_editor.observe([this](RoomAspects changed) { redraw(changed); });
    Fun_所有控件数据刷新();
}

QComboBox* RoomControlView::makeList(QWidget* parent, RoomList l, QRect r) {
    auto* c = new QComboBox(parent);
    c->setObjectName(roomList(l).objectName);
    c->setGeometry(r);
    c->setMaxVisibleItems(20);
    c->addItems(roomListChoices(l, m_editor.scenes()).entries);
    c->installEventFilter(this);
    c->view()->installEventFilter(this);
    connect(c, &QComboBox::activated, this,
            [this, l](int index) { m_editor.chooseEntry(l, index); });
    m_lists[static_cast<std::size_t>(l)] = c;
    return c;
}

QCheckBox* RoomControlView::makeCheck(QWidget* parent, int index, QPoint at, int width) {
    const RoomCheckEntry& entry = roomChecks()[static_cast<std::size_t>(index)];
    auto* c = new QCheckBox(QString::fromUtf8(entry.caption), parent);
    c->setObjectName(entry.objectName);
    c->setGeometry(at.x(), at.y(), width, kRowHeight);
    connect(c, &QCheckBox::clicked, this, [this, index](bool on) { m_editor.setCheck(index, on); });
    m_checks[static_cast<std::size_t>(index)] = c;
    return c;
}

void RoomControlView::buildFirstColumn() {
    FrameStack column(this, kColumnA);

    QGroupBox* f = column.add("开机场景", "开机场景", kOneRowFrame);
    makeList(f, RoomList::StartupScene, QRect(kCaptionX, 24, 300, kRowHeight));

    f = column.add("排风", "排风", 82);
    makeCheck(f, 0, {kCaptionX, 24}, 180);
    makeCheck(f, 1, {200, 24}, 190);
    makeCheck(f, 2, {kCaptionX, 50}, 180);
    makeCheck(f, 3, {200, 50}, 190);

    f = column.add("空调", "空调", 110);
    makeLabel(f, "开机空调", QRect(kCaptionX, 24, 80, kRowHeight));
    makeList(f, RoomList::AirCon, field(24, 120));
    makeCheck(f, 4, {kCaptionX, 52}, 300);
    makeCheck(f, 5, {kCaptionX, 78}, 180);
    makeCheck(f, 6, {200, 78}, 190);

    f = column.add("摇麦", "摇麦", kOneRowFrame);
    makeLabel(f, "触发时间", QRect(kCaptionX, 24, 80, kRowHeight));
    makeList(f, RoomList::MicShake, field(24, 120));

    f = column.add("场景继电器控制选择", "场景继电器控制选择", kOneRowFrame);
    for (int option = 1; option <= kRelaySourceOptions; ++option) {
        auto* o = new QRadioButton(kRelaySourceCaptions[static_cast<std::size_t>(option - 1)], f);
        o->setObjectName("Option场景继电器控制选择" + QString::number(option));
        o->setGeometry(option == 1 ? kCaptionX : 200, 24, 180, kRowHeight);
        connect(o, &QRadioButton::clicked, this,
                [this, option] { m_editor.chooseRelaySource(option); });
        m_relayOptions[static_cast<std::size_t>(option - 1)] = o;
    }

    f = column.add("烟机按钮", "烟机按钮 (为0时按一下开，按一下关)", kOneRowFrame);
    makeList(f, RoomList::Smoke, QRect(kCaptionX, 24, 120, kRowHeight));

    f = column.add("喝彩倒彩", "喝彩倒彩", kOneRowFrame);
    makeLabel(f, "运行时间", QRect(kCaptionX, 24, 80, kRowHeight));
    makeList(f, RoomList::CheerBoo, field(24, 120));

    f = column.add("密集鼓点参数", "密集鼓点参数(默认7)", kOneRowFrame);
    makeLabel(f, "连续触发次数", QRect(kCaptionX, 24, 84, kRowHeight));
    makeList(f, RoomList::DenseDrum, field(24, 120));
}

void RoomControlView::buildSecondColumn() {
    FrameStack column(this, kColumnB);

    QGroupBox* f = column.add("DJ现场专用场景设置", "DJ现场专用场景设置", 114);
    makeLabel(f, "方式选择", QRect(kCaptionX, 24, 80, kRowHeight));
    makeList(f, RoomList::DjMode, field(24, 290));
    makeLabel(f, "音源选择", QRect(kCaptionX, 52, 80, kRowHeight));
    makeList(f, RoomList::DjAudioSource, field(52, 290));
    makeLabel(f, "对应场景", QRect(kCaptionX, 80, 80, kRowHeight));
    makeList(f, RoomList::DjScene, field(80, 290));

    f = column.add("VJ服务器选择", "VJ服务器选择", kOneRowFrame);
    makeList(f, RoomList::VjServer, QRect(kCaptionX, 24, 300, kRowHeight));

    f = column.add("音源跟随场景方式", "音源跟随场景方式", kOneRowFrame);
    makeList(f, RoomList::AudioFollow, QRect(kCaptionX, 24, 300, kRowHeight));

    f = column.add("场景切换强制XY动作限制", "场景切换强制XY动作限制(默认2)", kOneRowFrame);
    makeList(f, RoomList::SceneXYLimit, QRect(kCaptionX, 24, 120, kRowHeight));

    f = column.add("VOD暂停时不切换到暂停场景", "VOD暂停时不切换到暂停场景", kOneRowFrame);
    makeCheck(f, 7, {kCaptionX, 24}, 300);
    f = column.add("VOD暂停时暂停Dmx512数据", "VOD暂停时暂停Dmx512数据", kOneRowFrame);
    makeCheck(f, 8, {kCaptionX, 24}, 300);
    f = column.add("关闭多色门牌灯", "关闭多色门牌灯", kOneRowFrame);
    makeCheck(f, 9, {kCaptionX, 24}, 300);

    f = column.add("DMX参数", "DMX参数 (设置为0关闭此功能)", kOneRowFrame);
    makeLabel(f, "XY 系统默认动作限制", QRect(kCaptionX, 24, 150, kRowHeight));
    makeList(f, RoomList::XyDefaultLimit, QRect(166, 24, 100, kRowHeight));
}

void RoomControlView::buildEffectorFrame() {
    const int height = 24 + kEffectorRows * kEffectorPitchY + 6;
    QGroupBox* f = makeFrame(this, "效果器红外控制", QRect(kColumnC, 8, kEffectorWidth, height),
                             "Frame效果器红外控制");
    for (int key = 1; key <= kEffectorKeysOffered; ++key) {
        const int col = (key - 1) / kEffectorRows;
        const int row = (key - 1) % kEffectorRows;
        const int x = kCaptionX + col * kEffectorPitchX;
        const int y = 24 + row * kEffectorPitchY;
        QLabel* l = makeLabel(f, effectorKeyLabel(key), QRect(x, y, 64, kRowHeight));
        l->setObjectName("Label效果器红外" + QString::number(key));
        auto* box = new QLineEdit(f);
        box->setObjectName("Text效果器红外" + QString::number(key));
        box->setGeometry(x + 66, y, 128, kRowHeight);
        box->setMaxLength(kCodeBoxMax);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, key](const QString& text) {
            m_typedKey = key;
            m_editor.typeEffectorCode(key, text);
            m_typedKey = 0;
        });
        m_labels[static_cast<std::size_t>(key - 1)] = l;
        m_codes[static_cast<std::size_t>(key - 1)] = box;
    }
}

void RoomControlView::buildButtons() {
    struct Button {
        const char* name;
        const char* caption;
        std::function<void()> action;
    };
    const Button buttons[] = {
        {"Command打开文件", "打开文件",
         [this] {
             m_services.showFile.openShowFile(m_services.dialogs);
             m_editor.codesShown();
         }},
        {"Command文件另存为", "文件另存为",
         [this] { m_services.showFile.saveShowAs(m_services.dialogs); }},
        {"Command建立新文件", "建立新文件",
         [this] {
             m_services.showFile.newShow(m_services.dialogs.prompter);
             m_editor.codesShown();
         }},
        {"Command版本说明", "版本说明", [this] { m_services.openVersionNotes(); }},
        {"Command进入红外空调界面", "红外空调学习界面", [this] { m_services.openAirConIr(); }},
    };
    const int top = 8 + 24 + kEffectorRows * kEffectorPitchY + 6 + 16;
    int i = 0;
    for (const Button& b : buttons) {
        const QRect r(kColumnC + (i % 3) * 146, top + (i / 3) * 50, 140, 40);
        QPushButton* button = makeButton(this, b.name, b.caption, r);
        connect(button, &QPushButton::clicked, this, b.action);
        ++i;
    }
}

void RoomControlView::Fun_窗体载入() {
    m_services.showView(this);
    Fun_所有控件数据刷新();
}

void RoomControlView::Fun_所有控件数据刷新() {
    m_editor.codesShown();
}

void RoomControlView::redraw(RoomAspects changed) {
    using A = RoomAspect;
    if (changed == RoomAspects::all()) drawSceneEntries();
    if (changed.touches(A::Settings)) drawSettings();
    if (changed.touches(A::Codes)) drawCodes();
    if (changed.touches(A::Focus)) drawFocus();
}

void RoomControlView::drawSettings() {
    for (const RoomListEntry& entry : roomLists())
        showList(entry.list);
    const RoomControl& room = m_editor.room();
    for (int i = 0; i < kRoomCheckCount; ++i) {
        const RoomCheckEntry& entry = roomChecks()[static_cast<std::size_t>(i)];
        check(i)->setChecked(checkTicked(entry, room.*entry.field));
    }
    // The options show the stored choice without storing it again.
    m_editor.setRelayOptionsEnabled(false);
    for (QRadioButton* o : m_relayOptions)
        o->setEnabled(false);
    relayOption(room.sceneRelaySource == 1 ? 2 : 1)->setChecked(true);
    for (QRadioButton* o : m_relayOptions)
        o->setEnabled(true);
    m_editor.setRelayOptionsEnabled(true);
}

void RoomControlView::drawSceneEntries() {
    for (RoomList l : {RoomList::StartupScene, RoomList::DjScene}) {
        const QStringList entries = roomListChoices(l, m_editor.scenes()).entries;
        for (int i = 0; i < entries.size(); ++i)
            list(l)->setItemText(i, entries[i]);
    }
}

void RoomControlView::showList(RoomList l) {
    QComboBox* c = list(l);
    const int value = m_editor.listValue(l);
    const int index = roomListChoices(l, m_editor.scenes()).indexOf(value);
    // A value a file brought in that the list does not offer is shown as its number and kept.
    c->setPlaceholderText(index < 0 ? QString::number(value) : QString());
    c->setCurrentIndex(index);
}

void RoomControlView::drawCodes() {
    for (int key = 1; key <= kEffectorKeysOffered; ++key) {
        // The box being typed into keeps what was typed; its colour says whether it was taken.
        if (key != m_typedKey) {
            const auto& code = m_editor.room().effectorCodes.at(static_cast<std::size_t>(key - 1));
            codeBox(key)->setText(effectorCodeText(code));
        }
        colourCode(key);
    }
}

void RoomControlView::drawFocus() {
    for (int key = 1; key <= kEffectorKeysOffered; ++key)
        colourLabel(key);
}

void RoomControlView::Fun_效果器红外接收码值(std::uint8_t code,
                                             std::span<const std::uint8_t> data) {
    m_editor.receiveReply(code, data);
}

void RoomControlView::colourCode(int key) {
    const bool refused = m_editor.state().refused.at(static_cast<std::size_t>(key - 1));
    setTextBoxBack(codeBox(key), refused ? m_colours.codeInvalid : m_colours.codeValid);
}

void RoomControlView::colourLabel(int key) {
    const bool focused = m_editor.state().focusedKey == key;
    setControlColours(codeLabel(key), std::nullopt,
                      focused ? m_colours.labelFocused : m_colours.labelNormal);
}

int RoomControlView::keyOfBox(const QObject* box) const {
    for (int key = 1; key <= kEffectorKeysOffered; ++key)
        if (codeBox(key) == box) return key;
    return 0;
}

bool RoomControlView::eventFilter(QObject* watched, QEvent* event) {
    if (const int key = keyOfBox(watched); key != 0) {
        if (event->type() == QEvent::FocusIn) {
            m_editor.focusKey(key);
        } else if (event->type() == QEvent::FocusOut) {
            m_editor.blurKey();
        }
        return false;
    }
    return isTyping(event);
}

}  // namespace kx
