#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>

#include "base/prompter.h"
#include "materials/builtin_materials_state.h"
#include "shell/appearance.h"

namespace kx {

// The built-in materials panel of the Material editor: the "标准素材" or "个性素材" library, its
// eight category buttons, up to 40 entries (left click imports, right click describes) and the
// description box.
class BuiltInMaterialsPanel : public QWidget {
    Q_OBJECT
  public:
    BuiltInMaterialsPanel(const QString& appSetDir, Prompter& prompter,
                          const Appearance& appearance, QWidget* parent = nullptr);

    // What an import does (the editor's: the entry replaces its current Material after the
    // question); none: imports do nothing.
    using Import = std::function<Outcome(const BuiltInEntry&)>;
    void setImport(Import import) { m_import = std::move(import); }
    // The editor's "标准素材" and "个性素材" buttons: their clicks open the libraries and the panel
    // keeps their colours.
    void attachLibraryButtons(QAbstractButton* standard, QAbstractButton* personal);

    void openBuiltInLibrary(const QString& library);
    void selectBuiltInCategory(int category);
    void listBuiltInMaterials();
    void showBuiltInDescription(int entry);
    void importBuiltInMaterial(int entry);
    // "隐藏".
    void hidePanel();

    const BuiltInMaterialsState& state() const { return m_state; }
    QPushButton* categoryButton(int category) const { return m_categories.at(category); }
    QPushButton* entryButton(int entry) const { return m_entries.at(entry); }

    QLabel* Label素材库;
    QLabel* Label提示;
    QPlainTextEdit* Text说明;
    QPushButton* Command隐藏;

  signals:
    // The Material was replaced by an import: the editor reloads itself from it.
    void imported();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void refresh();

    BuiltInMaterialsState m_state;
    Prompter& m_prompter;
    BuiltInColours m_colours;
    Import m_import;
    QAbstractButton* m_standardButton = nullptr;
    QAbstractButton* m_personalButton = nullptr;
    std::map<int, QPushButton*> m_categories;
    std::map<int, QPushButton*> m_entries;
};

}  // namespace kx
