#include "app/shutdown_save.h"

#include "base/platform.h"

namespace kx {

bool saveBeforeEnd(ShowFile& file, bool mayAsk) {
    const QString failure = file.writeShow();
    if (failure.isEmpty()) return true;
    if (mayAsk) return platform().askYesNo(failure + kAskEndUnsaved);
    platform().message(failure);
    return true;
}

}  // namespace kx
