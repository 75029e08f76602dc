#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "base/dmx_frame.h"

namespace kx {

class ControllerLink;

// Views as the output tick knows them.
namespace view {
inline constexpr int kDownload = 1;
inline constexpr int kDeviceFiles = 3;
inline constexpr int kSceneEditor = 4;
inline constexpr int kFixtureLibrary = 5;
inline constexpr int kRoomControl = 6;
inline constexpr int kMaterialStatic = 7;
inline constexpr int kMaterialRun = 8;
inline constexpr int kEffectEditor = 9;
inline constexpr int kTestConsole = 10;
inline constexpr int kAirConIr = 11;
inline constexpr int kLast = 11;
}  // namespace view

// The live DMX sender: every 100 ms the view in front fills the DMX output frame, and while
// connected the frame goes to the Controller as 0x6A, 0x6B and 0x6C.
class LiveDmx {
  public:
    // What a view's output does on each tick: fill the cleared frame (fixture preview, Material
    // output, Effect output) or its own periodic work (the test console's automatic drum beats).
    using Composer = std::function<void(DmxFrame& frame)>;

    explicit LiveDmx(ControllerLink& link) : m_link(link) {}

    // A window came to the front: clears the frame, asks for two frame sets and, away from the
    // test console, switches its serial test function off (0xCE 0x19 0x44).
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

    // True for the views whose output streams a frame set every tick.
    static bool streams(int view);

    void setComposer(int view, Composer composer);
    // Hides the Chase Generator window; it may stay open only over the static Material editor.
    void setChaseWindowHider(std::function<void()> hide) { m_hideChaseWindow = std::move(hide); }

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
    std::array<Composer, view::kLast + 1> m_composers;
    std::function<void()> m_hideChaseWindow;
};

}  // namespace kx
