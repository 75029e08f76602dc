#include "app/title_bar_status.h"

#include <QDir>

#include "app/title_bar_view.h"
#include "link/controller_link.h"
#include "storage/show_file.h"
#include "transfer/file_transfer.h"

namespace kx {

QString savedStatus(const QString& path) {
    return QStringLiteral("已保存 ") + QDir::toNativeSeparators(path);
}

void wireStatusLine(TitleBarView& bar, ControllerLink& link, FileTransfer& transfer, ShowFile& file,
                    Prompter& prompter) {
    QObject::connect(&bar, &TitleBarView::saveRequested, &bar, [&bar, &file, &prompter] {
        if (file.saveNow(prompter)) bar.showStatus(savedStatus(file.defaultPath()));
    });
    transfer.tellStatus = [&bar](const QString& text) { bar.showStatus(text); };
    QObject::connect(&link, &ControllerLink::socketProblemChanged, &bar,
                     [&bar](const QString& text) { bar.showStatus(text); });
    if (!link.socketProblem().isEmpty()) bar.showStatus(link.socketProblem());
}

}  // namespace kx
