#include "shell/appearance_view.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace kx {

namespace {

constexpr char kGraphical[] = "kxGraphical";
constexpr char kBackColour[] = "kxBackColour";
constexpr char kTextColour[] = "kxTextColour";

std::optional<Bgr> colourProperty(const QObject* o, const char* name) {
    const QVariant v = o->property(name);
    if (!v.isValid()) return std::nullopt;
    return v.toUInt();
}

QColor colourOr(const QWidget* w, const char* name, QPalette::ColorRole fallback) {
    const auto c = colourProperty(w, name);
    return c ? bgrColour(*c) : w->palette().color(fallback);
}

// A control that belongs to a compound control (the list of a combo box, the text of a spin box)
// takes its colours with that control.
bool insideCompound(const QWidget* w, const QWidget* view) {
    for (const QWidget* p = w->parentWidget(); p && p != view; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p)) {
            return true;
        }
    }
    return false;
}

// Draws a graphical button in place of the style: face, border and its one-line caption.
class GraphicalButtonPainter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button) return false;
        paint(button);
        return true;
    }

  private:
    static void paint(QAbstractButton* b) {
        QPainter p(b);
        p.setRenderHint(QPainter::Antialiasing);
        const bool down = b->isDown() || b->isChecked();
        const QColor face = colourOr(b, kBackColour, QPalette::Button);
        const QRectF r = QRectF(b->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, down ? face.darker(115) : face.lighter(118));
        g.setColorAt(1, down ? face.darker(105) : face.darker(112));
        p.setBrush(g);
        p.setPen(QPen(face.darker(170), 1));
        p.drawRoundedRect(r, 3, 3);
        if (b->hasFocus() && !down) {
            p.setPen(QPen(face.lighter(160), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 2, 2);
        }
        if (!b->icon().isNull()) {
            const QSize s = b->iconSize();
            const QRect ir(QPoint((b->width() - s.width()) / 2, (b->height() - s.height()) / 2), s);
            b->icon().paint(&p, ir);
        }
        QColor text = colourOr(b, kTextColour, QPalette::ButtonText);
        if (!b->isEnabled()) text = b->palette().color(QPalette::Disabled, QPalette::ButtonText);
        p.setPen(text);
        p.setFont(b->font());
        const int shift = down ? 1 : 0;
        p.drawText(b->rect().translated(shift, shift), Qt::AlignCenter | Qt::TextSingleLine,
                   withoutCaptionBreaks(b->text()));
    }
};

void setPaletteColours(QWidget* w, QPalette::ColorRole backRole, QPalette::ColorRole textRole,
                       std::optional<Bgr> back, std::optional<Bgr> text) {
    QPalette pal = w->palette();
    if (back) pal.setColor(backRole, bgrColour(*back));
    if (text) pal.setColor(textRole, bgrColour(*text));
    w->setPalette(pal);
}

}  // namespace

QColor bgrColour(Bgr c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

Bgr toBgr(const QColor& c) {
    return static_cast<Bgr>(c.red()) | static_cast<Bgr>(c.green()) << 8 |
           static_cast<Bgr>(c.blue()) << 16;
}

void makeGraphical(QAbstractButton* button) {
    if (isGraphical(button)) return;
    button->setProperty(kGraphical, true);
    button->installEventFilter(new GraphicalButtonPainter(button));
    button->update();
}

bool isGraphical(const QAbstractButton* button) {
    return button->property(kGraphical).toBool();
}

void setButtonBackColour(QAbstractButton* button, Bgr colour) {
    makeGraphical(button);
    button->setProperty(kBackColour, colour);
    button->update();
}

QString setButtonTextColour(QAbstractButton* button, Bgr colour) {
    if (!isGraphical(button)) return button->objectName() + "的Style属性应设为1(Graphical)";
    if (button->isEnabled()) {
        button->setProperty(kTextColour, colour);
        button->update();
    }
    return {};
}

void setButtonFace(QAbstractButton* button, std::optional<Bgr> colour) {
    setButtonBackColour(button,
                        colour.value_or(toBgr(QApplication::palette().color(QPalette::Button))));
}

std::optional<Bgr> buttonBackColour(const QAbstractButton* button) {
    return colourProperty(button, kBackColour);
}

std::optional<Bgr> buttonTextColour(const QAbstractButton* button) {
    return colourProperty(button, kTextColour);
}

void setControlColours(QWidget* control, std::optional<Bgr> back, std::optional<Bgr> text) {
    if (back) control->setAutoFillBackground(true);
    setPaletteColours(control, QPalette::Window, QPalette::WindowText, back, text);
}

void setTextBoxBack(QWidget* box, std::optional<Bgr> back) {
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base,
                 back ? bgrColour(*back) : QApplication::palette().color(QPalette::Base));
    box->setPalette(pal);
}

void applyViewColours(QWidget* view, const Appearance& a) {
    if (!a.customised) return;
    using K = ColourKey;
    auto c = [&a](K key) { return std::optional<Bgr>(a.colour(key)); };
    for (QWidget* w : view->findChildren<QWidget*>()) {
        if (insideCompound(w, view)) continue;
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            // The back colour makes the button graphical, so its text colour is always taken.
            setButtonBackColour(b, a.colour(K::公用Command背景颜色));
            setButtonTextColour(b, a.colour(K::公用Command文字颜色));
            b->setText(captionBreaks(withoutCaptionBreaks(b->text()), a));
        } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                   qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
            setPaletteColours(w, QPalette::Base, QPalette::Text, c(K::公用Text背景颜色),
                              c(K::公用Text文字颜色));
        } else if (qobject_cast<QComboBox*>(w)) {
            setPaletteColours(w, QPalette::Base, QPalette::Text, c(K::公用Combo背景颜色),
                              c(K::公用Combo文字颜色));
            setPaletteColours(w, QPalette::Button, QPalette::ButtonText, c(K::公用Combo背景颜色),
                              c(K::公用Combo文字颜色));
        } else if (qobject_cast<QAbstractItemView*>(w)) {
            setPaletteColours(w, QPalette::Base, QPalette::Text, c(K::公用ListBox背景颜色),
                              c(K::公用ListBox文字颜色));
        } else if (qobject_cast<QCheckBox*>(w)) {
            setControlColours(w, c(K::公用Check背景颜色), c(K::公用Check文字颜色));
        } else if (qobject_cast<QRadioButton*>(w)) {
            setControlColours(w, c(K::公用Option背景颜色), c(K::公用Option文字颜色));
        } else if (qobject_cast<QGroupBox*>(w)) {
            setControlColours(w, c(K::公用Frame背景颜色), c(K::公用Frame文字颜色));
        } else if (qobject_cast<QLabel*>(w)) {
            setControlColours(w, c(K::公用Label背景颜色), c(K::公用Label文字颜色));
        } else if (auto* f = qobject_cast<QFrame*>(w);
                   f && (f->frameShape() == QFrame::HLine || f->frameShape() == QFrame::VLine)) {
            f->setFrameShadow(QFrame::Plain);
            setPaletteColours(f, QPalette::Window, QPalette::WindowText, std::nullopt,
                              c(K::分割线条颜色));
        }
    }
}

}  // namespace kx
