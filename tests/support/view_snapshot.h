#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QMetaProperty>
#include <QWidget>
#include <map>
#include <string>

#include "shell/fader_view.h"

namespace kx::test {

// What a view shows, control by control: "objectName.what" -> the value as text. Controls
// without a name are left out, hidden ones count only as hidden; a name used twice gets "#2",
// "#3" in the order of the tree.
using ViewSnapshot = std::map<QString, QString>;

namespace detail {

inline void addReadable(ViewSnapshot& shot, const QString& key, const QWidget* w,
                        const char* property) {
    const QMetaObject* meta = w->metaObject();
    const int index = meta->indexOfProperty(property);
    if (index < 0) return;
    const QVariant v = meta->property(index).read(w);
    shot[key + property] = v.toString();
}

inline void addControl(ViewSnapshot& shot, const QString& key, const QWidget* root,
                       const QWidget* w) {
    // What is not shown is not seen: a hidden control counts by being hidden.
    if (!w->isVisibleTo(root)) {
        shot[key + "visible"] = "0";
        return;
    }
    shot[key + "visible"] = "1";
    shot[key + "enabled"] = w->isEnabled() ? "1" : "0";
    const QRect g = w->geometry();
    shot[key + "geometry"] =
        QStringLiteral("%1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    for (const char* p : {"text", "title", "checked", "currentIndex", "currentText", "value",
                          "plainText", "toolTip", "styleSheet", "autoFillBackground"})
        addReadable(shot, key, w, p);
    shot[key + "font"] = w->font().toString();
    const QPalette& pal = w->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Base,
                                     QPalette::Text, QPalette::Button, QPalette::ButtonText})
        shot[key + "palette" + QString::number(role)] = pal.color(role).name(QColor::HexArgb);
    // The colours a view gives its buttons travel as dynamic properties.
    for (const QByteArray& name : w->dynamicPropertyNames())
        shot[key + "property." + QString::fromUtf8(name)] = w->property(name).toString();
    if (const auto* fader = qobject_cast<const FaderView*>(w))
        shot[key + "fader"] = QString::number(fader->value());
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        shot[key + "items"] = items.join('|');
        // An editable box shows its text; which entry it was last chosen from is not seen.
        if (combo->isEditable()) shot.erase(key + "currentIndex");
    }
    if (const auto* list = qobject_cast<const QListWidget*>(w)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text() + (list->item(i)->isSelected() ? "*" : "");
        shot[key + "items"] = items.join('|');
        shot[key + "currentRow"] = QString::number(list->currentRow());
    }
}

}  // namespace detail

inline ViewSnapshot snapshotView(const QWidget* root) {
    ViewSnapshot shot;
    std::map<QString, int> seen;
    for (const QWidget* w : root->findChildren<const QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        const int n = ++seen[w->objectName()];
        const QString key = w->objectName() + (n > 1 ? "#" + QString::number(n) : QString()) + ".";
        detail::addControl(shot, key, root, w);
    }
    return shot;
}

// One line per difference ("name.what: expected | actual"); empty when the views show the same.
inline std::string viewDifferences(const ViewSnapshot& expected, const ViewSnapshot& actual) {
    std::string out;
    auto line = [&out](const QString& key, const QString& e, const QString& a) {
        out += (key + ": " + e + " | " + a + "\n").toStdString();
    };
    for (const auto& [key, value] : expected) {
        const auto it = actual.find(key);
        if (it == actual.end()) {
            line(key, value, "(missing)");
        } else if (it->second != value) {
            line(key, value, it->second);
        }
    }
    for (const auto& [key, value] : actual) {
        if (!expected.contains(key)) line(key, "(missing)", value);
    }
    return out;
}

}  // namespace kx::test
