#pragma once

#include <QString>

namespace kx {

// Modal message boxes and file dialogs, with the system's exact texts.
class Prompter {
  public:
    struct FileDialog {
        bool save = false;
        QString title;
        QString filterName;  // shown text, e.g. "打开文件 (*.K74)"
        QString pattern;     // e.g. "*.K74"
        QString folder;      // where the dialog opens
    };

    virtual ~Prompter() = default;

    virtual void message(const QString& text) = 0;
    virtual bool askYesNo(const QString& text) = 0;
    // The chosen full path, or "" when cancelled.
    virtual QString fileDialog(const FileDialog& dialog) = 0;
};

}  // namespace kx
