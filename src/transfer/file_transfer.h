#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "link/controller_link.h"
#include "transfer/transfer_format.h"
#include "transfer/transfer_log.h"
#include "transfer/transfer_progress.h"

namespace kx {

// The status line's word for a transfer asked for while not connected.
inline const QString kAskConnectFirst = QStringLiteral("请先连接控制器");

// What the last transfer reply said; filled by the link's first reply consumer.
struct TransferReplyStore {
    std::int32_t transferReplySeen = 0;
    std::int32_t transferReplyLength = 0;
    // Which of the six codes arrived, so that the status and verification answers are never
    // taken from a late reply to another command.
    std::uint8_t transferReplyCode = 0;
    std::array<std::uint8_t, 4001> transferReplyData{};

    std::span<const std::uint8_t> data() const {
        return std::span(transferReplyData).first(static_cast<std::size_t>(transferReplyLength));
    }
};

// Whole files to the Controller (download) and from it (upload), each run to its end inside one
// call while interface events keep being handled (through the link's waiter). One transfer runs at
// a time: the reply store and the Controller's file reception belong to it.
class FileTransfer {
  public:
    // Marks one transfer operation as running for its lifetime (a Show download holds one across
    // its save and the download). Inactive when another operation was running already.
    class Session {
      public:
        Session(Session&& other) noexcept : m_transfer(std::exchange(other.m_transfer, nullptr)) {}
        Session& operator=(Session&&) = delete;
        ~Session();
        bool active() const { return m_transfer != nullptr; }

      private:
        friend class FileTransfer;
        explicit Session(FileTransfer* transfer) : m_transfer(transfer) {}
        FileTransfer* m_transfer;
    };

    static constexpr int kReplyTimeoutMs = 500;
    static constexpr int kMaxBlockAttempts = 3;
    static constexpr int kStatusQueries = 5;
    // Larger than any file the Controller keeps; a larger size in an upload answer is damage.
    static constexpr std::uint32_t kMaxUploadSize = 64u * 1024 * 1024;

    // The reply store sees every reply before anyone else does.
    static constexpr int kReplyOrder = -1;
    // Becomes the link's first reply handler for its lifetime.
    explicit FileTransfer(ControllerLink& link);
    ~FileTransfer();
    FileTransfer(const FileTransfer&) = delete;
    FileTransfer& operator=(const FileTransfer&) = delete;

    // The application is shutting down: a running transfer stops after its current block.
    std::function<bool()> shuttingDown;
    // Tells the status line what a refused function needs ("请先连接控制器").
    std::function<void(const QString&)> tellStatus;
    // The scene the Controller switches to after loading a downloaded show (0: none); asked at
    // the verification of file type 1 only.
    std::function<int()> sceneAfterShowDownload;
    // Observers told when a transfer operation starts (true) and when it ends (false), whatever
    // its outcome; the id removes one again.
    int addRunningObserver(std::function<void(bool running)> observer);
    void removeRunningObserver(int id);
    // Observers told at every stage and after every block of a download or upload; the id
    // removes one again.
    int addProgressObserver(std::function<void(const TransferProgress&)> observer);
    void removeProgressObserver(int id);
    const TransferProgress& progress() const { return m_progress; }

    // Starts a transfer operation; an inactive session, and "->正在传输" in the log, while one
    // runs already.
    Session begin(LogBox& log);
    bool running() const { return m_running; }

    // The transfer reply consumer.
    void onReply(std::uint8_t code, std::span<const std::uint8_t> data);
    // Clears transferReplySeen, then sends code + args.
    void sendTransferCommand(std::uint8_t code, std::span<const std::uint8_t> args = {});
    // True as soon as a transfer reply has arrived, false after timeoutMs.
    bool waitTransferReply(int timeoutMs);
    // The same, taking only a reply with this code; replies with other codes are passed over.
    bool waitTransferReply(int timeoutMs, std::uint8_t code);

    // Each runs as its own transfer operation; refused while another runs.
    void downloadFile(FileType type, const QString& path, LogBox& log);
    void uploadFile(FileType type, const QString& path, LogBox& log);
    // The download as part of an operation the caller has begun.
    void downloadFile(const Session& session, FileType type, const QString& path, LogBox& log);
    // Clears the log; when not connected writes "未连接" and answers false.
    bool checkConnectedForTransfer(LogBox& log);

    // 1 only when the last download ended with "->下载成功".
    std::uint8_t transferSucceeded() const { return m_transferSucceeded; }
    const TransferReplyStore& replies() const { return m_replies; }
    ControllerLink& link() { return m_link; }

  private:
    enum class BlockOutcome { Done, Stop };
    BlockOutcome sendBlock(std::span<const std::uint8_t> arguments, std::uint32_t offsetAfter,
                           LogBox& log);
    bool verify(FileType type, LogBox& log);
    bool stopping() const { return shuttingDown && shuttingDown(); }
    void setRunning(bool running);
    void download(FileType type, const QString& path, LogBox& log);
    void upload(FileType type, const QString& path, LogBox& log);
    void startProgress(TransferStage stage, std::uint64_t bytesTotal);
    void advanceProgress(std::uint64_t bytes);
    void setStage(TransferStage stage);

    ControllerLink& m_link;
    int m_replyHandler;
    TransferReplyStore m_replies;
    std::uint8_t m_transferSucceeded = 0;
    bool m_running = false;
    std::vector<std::pair<int, std::function<void(bool)>>> m_runningObservers;
    int m_nextObserver = 1;
    std::vector<std::pair<int, std::function<void(const TransferProgress&)>>> m_progressObservers;
    TransferProgress m_progress;
    std::uint32_t m_progressStart = 0;
};

}  // namespace kx
