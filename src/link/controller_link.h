#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "base/prompter.h"
#include "base/waiter.h"
#include "link/frame_sender.h"
#include "link/link_config.h"
#include "link/live_dmx.h"
#include "link/protocol.h"
#include "link/socket_master.h"

namespace kx {

// Returns true as soon as flag is above 0, false once more than timeoutMs have passed; interface
// events (and so replies) are handled all the while.
bool waitFlag(const Waiter& waiter, const std::int32_t& flag, int timeoutMs);

// The tool's side of the Controller link: three UDP endpoints, the connection state and its
// counters, the packet framing of every command and reply, and the live DMX sender. Created once
// at start-up; everything runs on the interface thread, except, once asked to, the sending of
// the frame sets the interface thread composed. Its waits (and those of the transfers over
// it) go through the waiter; socket errors a handler wants shown go through the prompter.
class ControllerLink : public QObject {
    Q_OBJECT
  public:
    enum class Endpoint { Command, Broadcast, Private };
    using ReplyHandler = std::function<void(std::uint8_t code, std::span<const std::uint8_t> data)>;

    static constexpr int kConnectTimeoutMs = 500;
    // How long after its tick was due a frame set sent from its own thread leaves: the room the
    // interface thread has to compose it however late its tick ran.
    static constexpr int kFrameLeadMs = 20;
    static constexpr int kReleaseRepeats = 3;

    // createLink: the command sockets get their remote ends, the private one is bound.
    ControllerLink(const LinkConfig& config, Waiter waiter, Prompter& prompter,
                   QObject* parent = nullptr);
    ~ControllerLink() override;

    // Connection state.
    bool connected() const { return m_connected; }
    // The connect button is disabled while a connect or disconnect runs.
    bool busy() const { return m_busy; }
    bool broadcastMode() const { return m_broadcastMode; }
    // Check广播模式 changed: stores the mode and announces at once.
    void setBroadcastMode(bool on);
    // The developer console marks its log open: diagnostic text is shown, announces stop.
    void setDeveloperLogOpen(bool open) { m_developerLogOpen = open; }
    bool developerLogOpen() const { return m_developerLogOpen; }

    int sendCount() const { return m_sendCount; }
    int receiveCount() const { return m_receiveCount; }
    QString counterText() const { return kx::counterText(m_sendCount, m_receiveCount); }

    // The connect button: connect when not connected (waiting up to 500 ms for the Controller's
    // answer), disconnect otherwise.
    void toggleConnection();
    // 0xCE 0x13 with 0x89 in broadcast mode, else 0x00.
    void sendAnnounce();
    // Once a second from the main loop: announces while not connected and the developer console
    // is closed.
    void announceTick();
    // First shutdown step: while connected, three 0xC4 to release the Controller. The link sends
    // nothing on its own afterwards (no frames, no announces) and connects no more.
    void releaseOnlineMode();
    // Shutdown step 20: closes every socket.
    void Fun_关闭_Sock();

    // Sending. Every command carries its own argument bytes: a handler that runs inside a wait
    // (the output tick, a reply) can never change what another sender is about to send.
    // code + args as a command; false (nothing sent) for more than 2000 arguments, which the
    // Controller cannot take.
    bool sendCommand(std::uint8_t code, std::span<const std::uint8_t> args = {});
    bool sendCommand(std::uint8_t code, std::initializer_list<std::uint8_t> args) {
        return sendCommand(code, std::span(args.begin(), args.size()));
    }
    // magic + class bytes + body through the current command socket, then pending events once.
    void sendFrame(std::uint8_t class1, std::uint8_t class2, std::span<const std::uint8_t> body);
    // A typed or fixed hex text as the whole command body; false (nothing sent) when the text is
    // not hex or too long.
    bool sendHexText(const QString& text);
    void sendKeepAliveAnswer();
    // The single send path: counts the datagram and writes length bytes on the socket of the
    // current mode. The two selector bytes have no effect.
    void SockN_Send_in(std::uint8_t selector1, std::uint8_t selector2, int length,
                       std::span<const std::uint8_t> bytes);

    // Receiving.
    void onReplyDatagram(std::span<const std::uint8_t> datagram);
    void onPrivateDatagram(std::span<const std::uint8_t> datagram);
    void dispatchReply(std::uint8_t code, std::span<const std::uint8_t> data);
    // Every reply is offered to every handler, lower order first and, within an order, in the
    // order they were added. The returned id removes the handler again.
    int addReplyHandler(ReplyHandler handler, int order = 0);
    void removeReplyHandler(int id);
    // Fun_信息_In of the developer console: one line per diagnostic packet.
    void setDiagnosticSink(std::function<void(const QString&)> sink) {
        m_diagnosticSink = std::move(sink);
    }
    // Set to 1 by a reply with code 0xC0.
    std::int32_t& connectReplySeen() { return m_connectReplySeen; }

    // Live DMX.
    LiveDmx& live() { return m_live; }
    void setView(int view) { m_live.setView(view); }
    void requestFrames(int n) { m_live.requestFrames(n); }
    void requestTwoFrames() { m_live.requestTwoFrames(); }
    void outputTick() { m_live.outputTick(); }
    // From now on frame sets leave from a thread of their own, every one 100 ms after the one
    // before whatever the interface thread is doing: a set the output tick composed leaves
    // kFrameLeadMs after that tick was due (tickDue: that moment on the monotonic millisecond
    // clock, the one the waiter's clock reads), a set asked for at once leaves at once. The
    // datagrams and their order on the wire stay as they are: whatever else goes out on the same
    // socket waits for the sets composed before it. A streaming view's sets keep their beat while
    // the interface thread is late (FrameSender).
    void sendFramesFromThread(std::function<std::uint32_t()> tickDue);
    bool framesFromThread() const { return m_frameSender != nullptr; }
    // The three commands of one frame set (code + arguments each) handed to that thread, counted
    // as they are handed over.
    void postFrameSet(const std::array<std::span<const std::uint8_t>, 3>& commands,
                      FrameTiming timing);
    // No set is repeated any more until a streaming tick hands over the next.
    void endFrameBeat();
    // The link has released the Controller (shutdown) and sends nothing of its own.
    bool released() const { return m_released; }
    // The shutdown was cancelled after the release: the link may connect again.
    void cancelRelease() { m_released = false; }

    V21__CSocketMaster& socket(Endpoint endpoint);
    const LinkConfig& config() const { return m_config; }
    // What went wrong last with the private listening port ("": nothing), for the status line.
    const QString& socketProblem() const { return m_socketProblem; }
    const Waiter& waiter() const { return m_waiter; }

  signals:
    void connectionChanged(bool connected);
    void busyChanged(bool busy);
    void countersChanged(const QString& text);
    // The private listening port could not be bound or failed (the text says which).
    void socketProblemChanged(const QString& text);

  private:
    void connectToController();
    void disconnectFromController();
    void setBusy(bool busy);
    void reportSocketProblem(const QString& text);
    void countersUpdated() { emit countersChanged(counterText()); }
    void countDatagram();
    // Waits for the frame sets handed over before anything else is sent, and keeps sets from
    // cutting into it.
    FrameSender::Hold holdFrames();
    // Before a socket closes: every set handed over has gone and none follows.
    void finishFrames();

    LinkConfig m_config;
    Waiter m_waiter;
    V21__CSocketMaster m_sendSocket;       // Udp_Sock_Send
    V21__CSocketMaster m_broadcastSocket;  // Udp_Sock_Send_广播模式
    V21__CSocketMaster m_privateSocket;    // Udp_Sock_私有监听端口
    bool m_broadcastMode = false;
    bool m_connected = false;
    bool m_busy = false;
    bool m_developerLogOpen = false;
    bool m_released = false;
    QString m_socketProblem;
    int m_sendCount = 0;
    int m_receiveCount = 0;
    std::int32_t m_connectReplySeen = 0;
    struct RegisteredHandler {
        int id;
        int order;
        ReplyHandler handler;
    };
    std::vector<RegisteredHandler> m_replyHandlers;
    int m_nextHandlerId = 1;
    std::function<void(const QString&)> m_diagnosticSink;
    LiveDmx m_live;
    std::function<std::uint32_t()> m_tickDue;
    // Declared last: its thread ends before the sockets it writes on close.
    std::unique_ptr<FrameSender> m_frameSender;
};

}  // namespace kx
