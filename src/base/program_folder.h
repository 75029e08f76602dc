#pragma once

#include <QString>

namespace kx {

// Where the program is installed: its files live below this folder and its file dialogs open
// there.
class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;

    // The folder of the executable, without a trailing separator.
    virtual QString programDir() const = 0;
};

}  // namespace kx
