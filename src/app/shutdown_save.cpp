#include "app/shutdown_save.h"

namespace kx {

bool saveBeforeEnd(ShowFile& file, Prompter& prompter, bool mayAsk) {
    const QString failure = file.writeShow();
    if (failure.isEmpty()) return true;
    if (mayAsk) return prompter.askYesNo(failure + kAskEndUnsaved);
    prompter.message(failure);
    return true;
}

}  // namespace kx
