#include "materials/popup_wiring.h"

#include <QPointer>

namespace kx {

void hideOutsideView(LiveDmx& live, int view, QWidget* popup) {
    const QPointer<QWidget> guarded(popup);
    live.addTickObserver(
        [view, guarded](int front, const DmxFrame&) {
            if (front != view && guarded) guarded->hide();
        },
        [guarded] { return guarded && guarded->isVisible(); });
}

}  // namespace kx
