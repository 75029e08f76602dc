#include "materials/material_view_support.h"

#include "shell/appearance_view.h"

namespace kx {

namespace {

constexpr char kNormalBase[] = "kxNormalBase";

}  // namespace

void markField(QWidget* field, FieldMark mark, const MaterialEditorColours& colours) {
    if (mark == FieldMark::Keep) return;
    if (!field->property(kNormalBase).isValid())
        field->setProperty(kNormalBase, field->palette().color(QPalette::Base));
    QPalette pal = field->palette();
    const auto colour = fieldColour(mark, colours);
    pal.setColor(QPalette::Base,
                 colour ? bgrColour(*colour) : field->property(kNormalBase).value<QColor>());
    field->setPalette(pal);
}

void onTypedEntry(QLineEdit* box, QObject* context, std::function<void(const QString&)> take) {
    QObject::connect(box, &QLineEdit::editingFinished, context, [box, take] {
        if (!box->isModified()) return;
        box->setModified(false);
        take(box->text());
    });
}

void onTypedOrChosen(QComboBox* box, QObject* context, std::function<void(const QString&)> take) {
    box->setInsertPolicy(QComboBox::NoInsert);
    onTypedEntry(box->lineEdit(), context, take);
    QObject::connect(box, &QComboBox::activated, context,
                     [box, take](int index) { take(box->itemText(index)); });
}

MaterialEditorColours materialEditorColours(const Appearance& appearance) {
    MaterialEditorColours c;
    if (!appearance.customised) return c;
    c.current = appearance.colour(ColourKey::素材_通用选中颜色);
    c.shownFixture = appearance.colour(ColourKey::素材_虚拟灯具_选中);
    c.selectedFixture = appearance.colour(ColourKey::素材_虚拟灯具_联动);
    c.normalFixture = appearance.colour(ColourKey::素材_虚拟灯具_非选中);
    return c;
}

}  // namespace kx
