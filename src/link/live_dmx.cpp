#include "link/live_dmx.h"

#include <algorithm>

#include "app/base/common.h"
#include "link/controller_link.h"

namespace kx {

bool LiveDmx::streams(int view) {
    return view == view::kSceneEditor || view == view::kFixtureLibrary ||
           view == view::kMaterialStatic || view == view::kMaterialRun ||
           view == view::kEffectEditor;
}

void LiveDmx::setComposer(int view, Composer composer) {
    if (view >= 0 && view <= view::kLast)
        m_composers[static_cast<std::size_t>(view)] = std::move(composer);
}

void LiveDmx::setView(int view) {
    m_view = view;
    m_frame.fill(0);
    m_pending = 2;
    if (view != view::kTestConsole) {
        auto args = m_link.transmitBuffer();
        args[0] = sub::kSerialTest;
        args[1] = kSerialTestOff;
        m_link.sendCommand(cmd::kControl, 2);
    }
}

void LiveDmx::requestFrames(int n) {
    m_pending = static_cast<std::uint8_t>(std::clamp(n, 0, 255));
    // Frames reach a Controller only while it is held online.
    if (m_link.connected() && !m_link.released()) sendFrameSet();
}

void LiveDmx::outputTick() {
    if (m_oneTickRequest == 1) m_oneTickRequest = 2;
    m_frame.fill(0);
    if (m_view >= 0 && m_view <= view::kLast) {
        if (const Composer& compose = m_composers[static_cast<std::size_t>(m_view)])
            compose(m_frame);
    }
    if (m_view != view::kMaterialStatic && m_hideChaseWindow) m_hideChaseWindow();
    if (streams(m_view)) m_pending = 1;
    if (m_oneTickRequest == 2) m_oneTickRequest = 0;
    if (m_link.connected() && !m_link.released() && m_pending > 0) {
        --m_pending;
        sendFrameSet();
    }
}

void LiveDmx::sendFrameSet() {
    auto args = m_link.transmitBuffer();
    fillDmxPortsAB(m_frame, args.first<kDmxPairArguments>());
    m_link.sendCommand(cmd::kDmxPortsAB, kDmxPairArguments);
    Fun_Wait(1);
    fillDmxPortsCD(m_frame, args.first<kDmxPairArguments>());
    m_link.sendCommand(cmd::kDmxPortsCD, kDmxPairArguments);
    Fun_Wait(1);
    fillDmxPortVJ(m_frame, m_vjServer, args.first<kDmxVjArguments>());
    m_link.sendCommand(cmd::kDmxPortVJ, kDmxVjArguments);
}

}  // namespace kx
