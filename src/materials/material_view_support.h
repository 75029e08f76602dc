#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <functional>

#include "materials/material_editor_rules.h"
#include "shell/appearance.h"

namespace kx {

// A typed or chosen entry's mark on its field: the field's background for the mark, or back to
// its normal background (the one it had before it was first marked).
void markField(QWidget* field, FieldMark mark, const MaterialEditorColours& colours);

// A typed entry is taken when the user finishes it (Enter or leaving the box), and only when it
// was edited: a number is judged whole, not by the digits on the way to it.
void onTypedEntry(QLineEdit* box, QObject* context, std::function<void(const QString&)> take);
// An editable list: a typed entry as above, or an entry chosen from the list.
void onTypedOrChosen(QComboBox* box, QObject* context, std::function<void(const QString&)> take);

// The window's colours under the installation's scheme.
MaterialEditorColours materialEditorColours(const Appearance& appearance);

}  // namespace kx
