#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include "base/program_folder.h"
#include "base/prompter.h"

namespace kx::bench {

// A view benchmark's platform: no one answers, and the program folder is `dir`.
struct SilentPrompter : Prompter {
    void message(const QString&) override {}
    bool askYesNo(const QString&) override { return false; }
    QString fileDialog(const FileDialog&) override { return {}; }
};
struct Folder : ProgramFolder {
    QString dir;
    QString programDir() const override { return dir; }
};

// The benchmarks of a view program, run offscreen.
inline int runOffscreen(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

}  // namespace kx::bench
