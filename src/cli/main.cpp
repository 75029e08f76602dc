// kx7420-cli: the Show File tools and the many-room download, without a display.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kx7420-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = kx::runCli(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
