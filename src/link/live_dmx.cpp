#include "link/live_dmx.h"

#include <algorithm>

#include "base/common.h"
#include "link/controller_link.h"

namespace kx {

namespace {

// Frames reach a Controller only while it is held online.
bool framesReachController(const ControllerLink& link) {
    return link.connected() && !link.released();
}

}  // namespace

void LiveDmx::defineView(int view, ViewOutput output) {
    m_views[view] = std::move(output);
}

const LiveDmx::ViewOutput* LiveDmx::output(int view) const {
    const auto it = m_views.find(view);
    return it == m_views.end() ? nullptr : &it->second;
}

bool LiveDmx::streams(int view) const {
    const ViewOutput* o = output(view);
    return o && o->streams;
}

void LiveDmx::setView(int view) {
    // A view that streams takes the beat over with its first tick; until then, however long the
    // new view takes to show, the fixtures are refreshed with what they showed.
    if (!streams(view)) m_link.endFrameBeat();
    m_view = view;
    m_frame.fill(0);
    m_pending = 2;
    const ViewOutput* o = output(view);
    if (!o || !o->keepsSerialTest)
        m_link.sendCommand(cmd::kControl, {sub::kSerialTest, kSerialTestOff});
}

void LiveDmx::requestFrames(int n) {
    m_pending = static_cast<std::uint8_t>(std::clamp(n, 0, 255));
    if (framesReachController(m_link)) sendFrameSet(FrameTiming::AtOnce);
}

void LiveDmx::outputTick() {
    if (m_oneTickRequest == 1) m_oneTickRequest = 2;
    m_frame.fill(0);
    if (const ViewOutput* o = output(m_view); o && o->compose) o->compose(m_frame);
    notifyTickObservers();
    const bool streaming = streams(m_view);
    if (streaming) m_pending = 1;
    if (m_oneTickRequest == 2) m_oneTickRequest = 0;
    if (framesReachController(m_link) && m_pending > 0 && !m_sendingSet) {
        --m_pending;
        sendFrameSet(streaming ? FrameTiming::StreamingTick : FrameTiming::Tick);
    } else {
        m_link.endFrameBeat();
    }
}

bool LiveDmx::tickHasWork() const {
    if (framesReachController(m_link)) return true;
    if (m_oneTickRequest != 0) return true;
    if (std::any_of(m_tickObservers.begin(), m_tickObservers.end(), [](const ObserverEntry& e) {
            return e.observer && (!e.watching || e.watching());
        }))
        return true;
    const ViewOutput* o = output(m_view);
    return o && o->worksOffline && o->worksOffline();
}

int LiveDmx::addTickObserver(TickObserver observer, std::function<bool()> watching) {
    const int id = m_nextObserverId++;
    m_tickObservers.push_back({id, std::move(observer), std::move(watching)});
    return id;
}

void LiveDmx::removeTickObserver(int id) {
    const auto it = std::find_if(m_tickObservers.begin(), m_tickObservers.end(),
                                 [id](const ObserverEntry& entry) { return entry.id == id; });
    if (it == m_tickObservers.end()) return;
    if (m_notifying) {
        it->observer = nullptr;
    } else {
        m_tickObservers.erase(it);
    }
}

std::size_t LiveDmx::tickObserverCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_tickObservers.begin(), m_tickObservers.end(),
                      [](const ObserverEntry& entry) { return bool(entry.observer); }));
}

void LiveDmx::notifyTickObservers() {
    m_notifying = true;
    // By index: an observer may add another, which then runs from the next tick on.
    const std::size_t count = m_tickObservers.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (m_tickObservers[i].observer) m_tickObservers[i].observer(m_view, m_frame);
    }
    m_notifying = false;
    std::erase_if(m_tickObservers, [](const ObserverEntry& entry) { return !entry.observer; });
}

void LiveDmx::sendFrameSet() {
    sendFrameSet(FrameTiming::AtOnce);
}

void LiveDmx::sendFrameSet(FrameTiming timing) {
    // A tick that falls inside the 1 ms pauses of this set waits for the next one, so the
    // Controller always sees A+B, C+D and VJ of one frame in order.
    if (m_sendingSet) return;
    m_sendingSet = true;
    // Each part is taken from the frame as it is now; all three go out even if a handler
    // recomposes the frame in a pause.
    std::array<std::uint8_t, kDmxPairArguments> ab;
    std::array<std::uint8_t, kDmxPairArguments> cd;
    std::array<std::uint8_t, kDmxVjArguments> vj;
    fillDmxPortsAB(m_frame, ab);
    fillDmxPortsCD(m_frame, cd);
    fillDmxPortVJ(m_frame, m_vjServer, vj);
    if (m_link.framesFromThread()) {
        // Every part carries its own bytes into the sending thread.
        std::array<std::uint8_t, 1 + kDmxPairArguments> abCommand{cmd::kDmxPortsAB};
        std::array<std::uint8_t, 1 + kDmxPairArguments> cdCommand{cmd::kDmxPortsCD};
        std::array<std::uint8_t, 1 + kDmxVjArguments> vjCommand{cmd::kDmxPortVJ};
        std::copy(ab.begin(), ab.end(), abCommand.begin() + 1);
        std::copy(cd.begin(), cd.end(), cdCommand.begin() + 1);
        std::copy(vj.begin(), vj.end(), vjCommand.begin() + 1);
        m_link.postFrameSet({abCommand, cdCommand, vjCommand}, timing);
        m_sendingSet = false;
        return;
    }
    m_link.sendCommand(cmd::kDmxPortsAB, ab);
    Fun_Wait(m_link.waiter(), 1);
    m_link.sendCommand(cmd::kDmxPortsCD, cd);
    Fun_Wait(m_link.waiter(), 1);
    m_link.sendCommand(cmd::kDmxPortVJ, vj);
    m_sendingSet = false;
}

}  // namespace kx
