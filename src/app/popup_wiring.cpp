#include "app/popup_wiring.h"

#include <QPointer>

namespace kx {

void hideOutsideView(LiveDmx& live, int view, QWidget* popup) {
    live.afterCompose = [earlier = std::move(live.afterCompose), view,
                         guarded = QPointer<QWidget>(popup)](int front) {
        if (earlier) earlier(front);
        if (front != view && guarded) guarded->hide();
    };
}

}  // namespace kx
