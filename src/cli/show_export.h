#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "cli/show_reading.h"

namespace kx {

// An exchange file to take out of a show: its kind (the file extension) and what it holds.
//   K_1DK page/number   K_ADK   K_1SC effect/module/slot   K_1XG effect   K_AXG
//   K_1MK effect/module
struct ExportRequest {
    QString kind;
    std::vector<int> numbers;
};

// The request of a kind and its numbers text ("2/1/3"); the reason when it is not one.
struct ExportParse {
    std::optional<ExportRequest> request;
    QString error;
};
ExportParse parseExportRequest(const QString& kind, const QString& numbers);
// How many numbers a kind takes; -1 for an unknown kind.
int exportNumberCount(const QString& kind);

// The file bytes the window's export of that kind writes from the same show, with the same
// builders (the Effect opened first where the window exports the open one). The reason when
// there is nothing to write.
struct ExportResult {
    std::optional<QByteArray> bytes;
    QString error;
};
ExportResult exportFromShow(LoadedShow& loaded, const ExportRequest& request);

}  // namespace kx
