#include "base/platform.h"

#include <cstdlib>

namespace kx {

namespace {
Platform* g_platform = nullptr;
}

Platform& platform() {
    if (!g_platform) std::abort();  // a platform is installed before anything runs
    return *g_platform;
}

PlatformScope::PlatformScope(Platform& p) : m_previous(g_platform) {
    g_platform = &p;
}

PlatformScope::~PlatformScope() {
    g_platform = m_previous;
}

}  // namespace kx
