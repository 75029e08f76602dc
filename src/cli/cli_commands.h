#pragma once

#include <QStringList>
#include <QTextStream>

namespace kx {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// kx7420-cli: args without the program name. Writes results to out and reasons to err and gives
// the exit code: 0 success, 1 the work failed (or the shows differ, or the file has faults), 2 bad
// usage. The download command runs the event loop of the calling thread until it is done.
int runCli(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace kx
