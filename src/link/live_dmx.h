#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "base/dmx_frame.h"

namespace kx {

class ControllerLink;

// When a frame set leaves: at once (asked for), after the tick that composed it, or after the tick
// of a view that streams, keeping the beat of the sets before it.
enum class FrameTiming { AtOnce, Tick, StreamingTick };

// The live DMX sender: every 100 ms the view in front fills the DMX output frame, and while
// connected the frame goes to the Controller as 0x6A, 0x6B and 0x6C.
// Which view is in front is a number the application gives each view; the sender only knows what
// that view's output does.
class LiveDmx {
  public:
    // What a view's output does on each tick: fill the cleared frame (fixture preview, Material
    // output, Effect output) or its own periodic work (the test console's automatic drum beats).
    using Composer = std::function<void(DmxFrame& frame)>;
    struct ViewOutput {
        Composer compose;
        // A frame set goes out every tick, not only when asked for.
        bool streams = false;
        // Coming to the front leaves the Controller's serial test function as it is; every other
        // view switches it off.
        bool keepsSerialTest = false;
        // Whether its ticks do something one sees while no frame goes out (a Material playing, an
        // automatic drum beating); left empty, a tick only composes the frame.
        std::function<bool()> worksOffline = {};
    };

    explicit LiveDmx(ControllerLink& link) : m_link(link) {}

    // What the view with this number does; a view never defined composes nothing.
    void defineView(int view, ViewOutput output);
    // A window came to the front: clears the frame, asks for two frame sets and, unless the view
    // keeps it, switches the serial test function off (0xCE 0x19 0x44).
    void setView(int view);
    int view() const { return m_view; }
    // n more frame sets from the next ticks on, plus one at once while connected.
    void requestFrames(int n);
    void requestTwoFrames() { m_pending = 2; }
    int pendingFrames() const { return m_pending; }

    // The 100 ms tier of the main loop.
    void outputTick();
    // 0x6A ports A+B, 1 ms, 0x6B ports C+D, 1 ms, 0x6C port VJ and the VJ server selection.
    void sendFrameSet();

    // True when the view's output streams a frame set every tick.
    bool streams(int view) const;
    // Told after every tick's composing, before the frame is sent, which view was in front and
    // the frame it composed (pop-ups that belong to one view close themselves there, the DMX
    // monitor shows the frame). The returned id removes the observer again, also from inside a
    // tick; observers run in the order they were added. An observer with a watching test needs
    // the ticks only while it holds (a pop-up, while it shows).
    using TickObserver = std::function<void(int view, const DmxFrame& frame)>;
    int addTickObserver(TickObserver observer, std::function<bool()> watching = {});
    void removeTickObserver(int id);
    std::size_t tickObserverCount() const;
    // Whether the next tick has anything to do: a frame set to send, an observer to tell, a
    // one-tick request to pass on or a view that works offline. Otherwise the tick need not run.
    bool tickHasWork() const;

    DmxFrame& frame() { return m_frame; }
    // The one-tick request flag: set to 1 to make a request visible to the outputs for exactly
    // one tick (it reads 2 during that tick).
    std::uint8_t& oneTickRequest() { return m_oneTickRequest; }
    void setVjServer(std::uint8_t index) { m_vjServer = index; }
    std::uint8_t vjServer() const { return m_vjServer; }

  private:
    ControllerLink& m_link;
    int m_view = 0;
    std::uint8_t m_pending = 0;
    std::uint8_t m_oneTickRequest = 0;
    std::uint8_t m_vjServer = 0;
    bool m_sendingSet = false;
    DmxFrame m_frame{};
    const ViewOutput* output(int view) const;
    void sendFrameSet(FrameTiming timing);
    void notifyTickObservers();

    std::map<int, ViewOutput> m_views;
    // An observer removed while the observers run is emptied there and dropped afterwards.
    struct ObserverEntry {
        int id = 0;
        TickObserver observer;
        std::function<bool()> watching;
    };
    std::vector<ObserverEntry> m_tickObservers;
    int m_nextObserverId = 1;
    bool m_notifying = false;
};

}  // namespace kx
