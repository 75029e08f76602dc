#include "materials/popup_wiring.h"

#include <QPointer>

namespace kx {

void hideOutsideView(LiveDmx& live, int view, QWidget* popup) {
    live.addTickObserver([view, guarded = QPointer<QWidget>(popup)](int front, const DmxFrame&) {
        if (front != view && guarded) guarded->hide();
    });
}

}  // namespace kx
