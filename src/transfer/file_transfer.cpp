#include "transfer/file_transfer.h"

#include <algorithm>

#include "base/file_io.h"

namespace kx {

namespace lg = transfer_log;

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()),
            static_cast<std::size_t>(a.size())};
}

}  // namespace

void appendLog(LogBox& log, const QString& text, bool newline) {
    log.append(newline ? text + "\r\n" : text);
    log.repaint();
}

FileTransfer::FileTransfer(ControllerLink& link)
    : m_link(link),
      m_replyHandler(m_link.addReplyHandler(
          [this](std::uint8_t code, std::span<const std::uint8_t> data) { onReply(code, data); },
          kReplyOrder)) {}

FileTransfer::~FileTransfer() {
    m_link.removeReplyHandler(m_replyHandler);
}

void FileTransfer::onReply(std::uint8_t code, std::span<const std::uint8_t> data) {
    if (!isTransferReplyCode(code)) return;
    const auto n = std::min(data.size(), m_replies.transferReplyData.size());
    std::copy_n(data.begin(), n, m_replies.transferReplyData.begin());
    m_replies.transferReplyLength = static_cast<std::int32_t>(n);
    m_replies.transferReplyCode = code;
    m_replies.transferReplySeen = 1;
}

FileTransfer::Session::~Session() {
    if (!m_transfer) return;
    // What the user did during the transfer reaches the window while the functions that would
    // have started work are still disabled.
    m_transfer->m_link.waiter().pump.releaseInput();
    m_transfer->setRunning(false);
}

FileTransfer::Session FileTransfer::begin(LogBox& log) {
    if (m_running) {
        appendLog(log, lg::kBusy);
        return Session(nullptr);
    }
    m_link.waiter().pump.holdInput();
    setRunning(true);
    return Session(this);
}

int FileTransfer::addRunningObserver(std::function<void(bool running)> observer) {
    m_runningObservers.emplace_back(m_nextObserver, std::move(observer));
    return m_nextObserver++;
}

void FileTransfer::removeRunningObserver(int id) {
    std::erase_if(m_runningObservers, [id](const auto& o) { return o.first == id; });
}

int FileTransfer::addProgressObserver(std::function<void(const TransferProgress&)> observer) {
    m_progressObservers.emplace_back(m_nextObserver, std::move(observer));
    return m_nextObserver++;
}

void FileTransfer::removeProgressObserver(int id) {
    std::erase_if(m_progressObservers, [id](const auto& o) { return o.first == id; });
}

void FileTransfer::startProgress(TransferStage stage, std::uint64_t bytesTotal) {
    m_progress = TransferProgress{};
    m_progress.bytesTotal = bytesTotal;
    m_progressStart = m_link.waiter().clock.milliseconds();
    setStage(stage);
}

void FileTransfer::advanceProgress(std::uint64_t bytes) {
    ++m_progress.blocksSent;
    m_progress.bytesSent += bytes;
    setStage(m_progress.stage);
}

void FileTransfer::setStage(TransferStage stage) {
    m_progress.stage = stage;
    m_progress.elapsedMs = m_link.waiter().clock.milliseconds() - m_progressStart;
    for (const auto& [id, observer] : m_progressObservers)
        observer(m_progress);
}

void FileTransfer::setRunning(bool running) {
    m_running = running;
    for (const auto& [id, observer] : m_runningObservers)
        observer(running);
}

void FileTransfer::sendTransferCommand(std::uint8_t code, std::span<const std::uint8_t> args) {
    // A reply already queued (a late or repeated answer to the previous command) lands before
    // the flag is cleared, so it cannot pass for the answer to this command. The arguments are
    // the caller's own: whatever runs in this pump cannot change them.
    m_link.waiter().pump.processEvents(0);
    m_replies.transferReplySeen = 0;
    m_link.sendCommand(code, args);
}

bool FileTransfer::waitTransferReply(int timeoutMs) {
    return waitFlag(m_link.waiter(), m_replies.transferReplySeen, timeoutMs);
}

bool FileTransfer::waitTransferReply(int timeoutMs, std::uint8_t code) {
    Clock& clock = m_link.waiter().clock;
    const std::uint32_t start = clock.milliseconds();
    const auto limit = static_cast<std::uint32_t>(std::max(timeoutMs, 0));
    for (;;) {
        const std::uint32_t elapsed = clock.milliseconds() - start;
        if (elapsed > limit) return false;
        if (waitFlag(m_link.waiter(), m_replies.transferReplySeen,
                     static_cast<int>(limit - elapsed))) {
            if (m_replies.transferReplyCode == code) return true;
            m_replies.transferReplySeen = 0;
        }
    }
}

bool FileTransfer::checkConnectedForTransfer(LogBox& log) {
    log.clear();
    if (m_link.connected()) return true;
    appendLog(log, lg::kNotConnected, false);
    if (tellStatus) tellStatus(kAskConnectFirst);
    return false;
}

void FileTransfer::downloadFile(FileType type, const QString& path, LogBox& log) {
    const Session session = begin(log);
    if (session.active()) download(type, path, log);
}

void FileTransfer::downloadFile(const Session& session, FileType type, const QString& path,
                                LogBox& log) {
    if (session.active()) download(type, path, log);
}

void FileTransfer::uploadFile(FileType type, const QString& path, LogBox& log) {
    const Session session = begin(log);
    if (session.active()) upload(type, path, log);
}

void FileTransfer::download(FileType type, const QString& path, LogBox& log) {
    m_transferSucceeded = 0;
    appendLog(log, lg::kFile + path);
    appendLog(log, lg::kReading);
    const QByteArray file = readWholeFile(path).value_or(QByteArray());
    if (file.isEmpty()) {
        appendLog(log, lg::kMissing);
        startProgress(TransferStage::Failed, 0);
        return;
    }
    const auto bytes = bytesOf(file);
    appendLog(log, lg::kSize + kilobytesText(bytes.size()) + "K");

    // The whole file is packed first, so the block count is known while it is sent.
    startProgress(TransferStage::Packing, bytes.size());
    std::vector<DownloadBlock> blocks;
    for (std::size_t offset = 0; offset < bytes.size();) {
        blocks.push_back(planBlock(bytes, offset));
        offset += static_cast<std::size_t>(blocks.back().raw);
    }
    m_progress.blocksTotal = static_cast<int>(blocks.size());

    sendTransferCommand(
        cmd::kDownloadStart,
        startArguments(static_cast<std::uint32_t>(bytes.size()), additiveChecksum(bytes), type));
    if (!waitTransferReply(kReplyTimeoutMs)) {
        appendLog(log, lg::kHandshakeFailed);
        setStage(TransferStage::Failed);
        return;
    }
    appendLog(log, lg::kHandshakeOk);
    setStage(TransferStage::Sending);

    std::size_t offset = 0;
    for (const DownloadBlock& block : blocks) {
        offset += static_cast<std::size_t>(block.raw);
        if (sendBlock(block.arguments, static_cast<std::uint32_t>(offset), log) ==
            BlockOutcome::Stop) {
            setStage(TransferStage::Failed);
            return;
        }
        advanceProgress(static_cast<std::uint64_t>(block.raw));
        if (stopping()) {
            setStage(TransferStage::Failed);
            return;
        }
    }

    appendLog(log, "");
    appendLog(log, lg::kVerifying);
    setStage(TransferStage::Verifying);
    if (verify(type, log)) m_transferSucceeded = 1;
    setStage(m_transferSucceeded == 1 ? TransferStage::Done : TransferStage::Failed);
}

FileTransfer::BlockOutcome FileTransfer::sendBlock(std::span<const std::uint8_t> arguments,
                                                   std::uint32_t offsetAfter, LogBox& log) {
    int attempts = 0;
    for (;;) {
        sendTransferCommand(cmd::kDownloadBlock, arguments);
        if (waitTransferReply(kReplyTimeoutMs)) {
            appendLog(log, lg::kBlockDone, false);
            return BlockOutcome::Done;
        }
        if (++attempts > kMaxBlockAttempts) {
            appendLog(log, lg::kHandshakeFailed);
            return BlockOutcome::Stop;
        }
        bool resend = false;
        for (int query = 0; query < kStatusQueries && !resend; ++query) {
            sendTransferCommand(cmd::kDownloadStatus);
            if (!waitTransferReply(kReplyTimeoutMs, cmd::kDownloadStatus)) continue;
            const auto status = readStatusReply(m_replies.data());
            if (status && status->status == kStatusGood && status->received == offsetAfter) {
                appendLog(log, lg::kBlockDone, false);
                return BlockOutcome::Done;
            }
            appendLog(log, lg::kBlockResend, false);
            resend = true;
        }
        if (!resend) {
            // Neither the block nor five status queries were answered: the Controller is gone,
            // and going on would only send the rest of the file into silence.
            appendLog(log, lg::kHandshakeFailed);
            return BlockOutcome::Stop;
        }
    }
}

bool FileTransfer::verify(FileType type, LogBox& log) {
    const int scene =
        type == FileType::Show && sceneAfterShowDownload ? sceneAfterShowDownload() : 0;
    sendTransferCommand(cmd::kDownloadVerify, verifyArguments(scene));
    if (!waitTransferReply(kReplyTimeoutMs, cmd::kDownloadVerify)) {
        appendLog(log, lg::kNoAnswer);
        return false;
    }
    const auto data = m_replies.data();
    if (data.empty() || data[0] != kReplyYes) {
        appendLog(log, lg::kVerifyFailed);
        return false;
    }
    appendLog(log, lg::kVerifyOk);
    appendLog(log, lg::kDownloadOk);
    return true;
}

void FileTransfer::upload(FileType type, const QString& path, LogBox& log) {
    appendLog(log, lg::kUploadPrepare);
    appendLog(log, lg::kUploadInfo);
    startProgress(TransferStage::Sending, 0);
    sendTransferCommand(cmd::kUploadInfo, uploadInfoArguments(type));
    if (!waitTransferReply(kReplyTimeoutMs)) {
        appendLog(log, lg::kReadFailed);
        appendLog(log, lg::kUploadFailed);
        setStage(TransferStage::Failed);
        return;
    }
    const auto info = readUploadInfo(m_replies.data());
    if (!info || info->fileType != static_cast<std::uint8_t>(type) || info->present != 1) {
        appendLog(log, lg::kNoSuchData);
        appendLog(log, lg::kUploadFailed);
        setStage(TransferStage::Failed);
        return;
    }
    // A size no file of the Controller has, or a range past the 32-bit address space, is damage.
    if (info->size > kMaxUploadSize ||
        std::uint64_t{info->address} + info->size > std::uint64_t{0x100000000}) {
        appendLog(log, lg::kDataError);
        appendLog(log, lg::kUploadFailed);
        setStage(TransferStage::Failed);
        return;
    }
    appendLog(log, lg::kSize + kilobytesText(info->size) + "K");
    m_progress.bytesTotal = info->size;
    m_progress.blocksTotal =
        static_cast<int>((info->size + kUploadBlockSize - 1) / kUploadBlockSize);
    setStage(TransferStage::Sending);

    QByteArray image(static_cast<qsizetype>(info->size), '\0');
    std::uint32_t offset = 0;
    while (offset < info->size) {
        const auto n = static_cast<std::uint16_t>(
            std::min<std::uint32_t>(info->size - offset, kUploadBlockSize));
        sendTransferCommand(cmd::kUploadBlock, uploadBlockArguments(info->address + offset, n));
        if (!waitTransferReply(kReplyTimeoutMs)) {
            appendLog(log, lg::kHandshakeFailed);
            appendLog(log, lg::kUploadFailed);
            setStage(TransferStage::Failed);
            return;
        }
        if (m_replies.transferReplyLength != n) {
            appendLog(log, lg::kDataError);
            appendLog(log, lg::kUploadFailed);
            setStage(TransferStage::Failed);
            return;
        }
        appendLog(log, lg::kBlockUploaded, false);
        std::copy_n(m_replies.transferReplyData.begin(), n, image.begin() + offset);
        offset += n;
        advanceProgress(n);
        if (stopping()) {
            appendLog(log, lg::kUploadFailed);
            setStage(TransferStage::Failed);
            return;
        }
    }

    appendLog(log, "");
    appendLog(log, lg::kUploadEnd);
    if (!writeWholeFile(path, image)) {
        appendLog(log, lg::kUploadWriteFailed);
        appendLog(log, lg::kUploadFailed);
        setStage(TransferStage::Failed);
        return;
    }
    setStage(TransferStage::Done);
    appendLog(log, lg::kUploadOk);
    appendLog(log, " ");
    appendLog(log, "文件=" + path);
    appendLog(log, "");
    appendLog(log, "时间：" + m_link.waiter().clock.localTime().toString("HH:mm:ss"));
}

}  // namespace kx
