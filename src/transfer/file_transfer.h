#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "link/controller_link.h"
#include "transfer/transfer_format.h"
#include "transfer/transfer_log.h"

namespace kx {

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
// call while interface events keep being handled.
class FileTransfer {
  public:
    static constexpr int kReplyTimeoutMs = 500;
    static constexpr int kMaxBlockAttempts = 3;
    static constexpr int kStatusQueries = 5;
    // Larger than any file the Controller keeps; a larger size in an upload answer is damage.
    static constexpr std::uint32_t kMaxUploadSize = 64u * 1024 * 1024;

    // Becomes the link's transfer reply consumer for its lifetime.
    explicit FileTransfer(ControllerLink& link);
    ~FileTransfer();
    FileTransfer(const FileTransfer&) = delete;
    FileTransfer& operator=(const FileTransfer&) = delete;

    // The application is shutting down: a running transfer stops after its current block.
    std::function<bool()> shuttingDown;
    // The scene the Controller switches to after loading a downloaded show (0: none); asked at
    // the verification of file type 1 only.
    std::function<int()> sceneAfterShowDownload;

    // The transfer reply consumer.
    void onReply(std::uint8_t code, std::span<const std::uint8_t> data);
    // Clears transferReplySeen, then sends code + transmit bytes 0..count-1.
    void sendTransferCommand(std::uint8_t code, int count);
    // True as soon as a transfer reply has arrived, false after timeoutMs.
    bool waitTransferReply(int timeoutMs);
    // The same, taking only a reply with this code; replies with other codes are passed over.
    bool waitTransferReply(int timeoutMs, std::uint8_t code);

    void downloadFile(FileType type, const QString& path, LogBox& log);
    void uploadFile(FileType type, const QString& path, LogBox& log);
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
    void putArguments(std::span<const std::uint8_t> bytes);

    ControllerLink& m_link;
    TransferReplyStore m_replies;
    std::uint8_t m_transferSucceeded = 0;
};

}  // namespace kx
