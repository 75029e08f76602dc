#pragma once

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/key_state.h"
#include "base/program_folder.h"
#include "base/prompter.h"

namespace kx {

// Everything the desktop provides, in one object, for the code that still reaches it through the
// process-wide platform().
class Platform : public Clock,
                 public EventPump,
                 public Prompter,
                 public KeyState,
                 public ProgramFolder {};

// The platform in use. Exactly one is installed at a time.
Platform& platform();

// Installs a platform for the lifetime of the scope (the program's main, or a test).
class PlatformScope {
  public:
    explicit PlatformScope(Platform& p);
    ~PlatformScope();
    PlatformScope(const PlatformScope&) = delete;
    PlatformScope& operator=(const PlatformScope&) = delete;

  private:
    Platform* m_previous;
};

}  // namespace kx
