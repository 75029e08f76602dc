#include "transfer/transfer_format.h"

#include <algorithm>

#include "base/common.h"

namespace kx {

namespace {

void put(std::span<std::uint8_t> dst, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        dst[at + i] = static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
    }
}

std::uint32_t get(std::span<const std::uint8_t> src, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | src[at + i];
    return value;
}

// Packs raw into packed (sized for the worst case) and answers the packed length.
int pack(std::span<const std::uint8_t> raw, std::vector<std::uint8_t>& packed) {
    packed.resize(zeroRunBound(static_cast<int>(raw.size())));
    return Fun_ZeroRunEncode(raw, packed);
}

}  // namespace

bool isTransferReplyCode(std::uint8_t code) {
    switch (code) {
        case cmd::kDownloadStart:
        case cmd::kDownloadBlock:
        case cmd::kDownloadVerify:
        case cmd::kUploadInfo:
        case cmd::kUploadBlock:
        case cmd::kDownloadStatus:
            return true;
        default:
            return false;
    }
}

std::uint16_t additiveChecksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return static_cast<std::uint16_t>(sum);
}

std::array<std::uint8_t, 7> startArguments(std::uint32_t length, std::uint16_t checksum,
                                           FileType fileType) {
    std::array<std::uint8_t, 7> a{};
    put(a, 0, length, 4);
    put(a, 4, checksum, 2);
    a[6] = static_cast<std::uint8_t>(fileType);
    return a;
}

std::array<std::uint8_t, kVerifyArgumentCount> verifyArguments(int sceneAfterLoad) {
    std::array<std::uint8_t, kVerifyArgumentCount> a{};
    if (sceneAfterLoad > 0) {
        a[0] = kVerifySwitchScene;
        a[1] = static_cast<std::uint8_t>(sceneAfterLoad);
    }
    return a;
}

std::array<std::uint8_t, 1> uploadInfoArguments(FileType fileType) {
    return {static_cast<std::uint8_t>(fileType)};
}

std::array<std::uint8_t, 6> uploadBlockArguments(std::uint32_t address, std::uint16_t count) {
    std::array<std::uint8_t, 6> a{};
    put(a, 0, address, 4);
    put(a, 4, count, 2);
    return a;
}

DownloadBlock planBlock(std::span<const std::uint8_t> file, std::size_t offset) {
    DownloadBlock block;
    if (offset >= file.size()) return block;
    int raw = static_cast<int>(std::min<std::size_t>(file.size() - offset, kDownloadBlockSize));
    std::vector<std::uint8_t> packed;
    int packedLength = pack(file.subspan(offset, raw), packed);
    if (packedLength > kMaxPackedBlock) {
        // The packed length never shrinks as the part grows, so the longest part that fits is
        // found by bisection; half the packed limit always fits.
        int fits = kMaxPackedBlock / 2;
        int tooLong = raw;
        while (tooLong - fits > 1) {
            const int mid = (fits + tooLong) / 2;
            if (pack(file.subspan(offset, mid), packed) <= kMaxPackedBlock) {
                fits = mid;
            } else {
                tooLong = mid;
            }
        }
        raw = fits;
        packedLength = pack(file.subspan(offset, raw), packed);
    }
    block.raw = raw;
    block.arguments.resize(kBlockHeaderSize + packedLength);
    put(block.arguments, 0, static_cast<std::uint32_t>(raw), 2);
    put(block.arguments, 2, static_cast<std::uint32_t>(packedLength), 2);
    std::copy_n(packed.begin(), packedLength, block.arguments.begin() + kBlockHeaderSize);
    return block;
}

std::optional<TransferStatus> readStatusReply(std::span<const std::uint8_t> data) {
    if (data.size() < 5) return std::nullopt;
    return TransferStatus{data[0], get(data, 1, 4)};
}

std::optional<UploadInfo> readUploadInfo(std::span<const std::uint8_t> data) {
    if (data.size() < 10) return std::nullopt;
    return UploadInfo{data[0], data[1], get(data, 2, 4), get(data, 6, 4)};
}

QString kilobytesText(std::uint64_t bytes) {
    // Tenths of a kilobyte in integers, so exact halves round up as the display format does.
    const std::uint64_t tenths = (bytes * 20 + 1024) / 2048;
    return QString::number(tenths / 10) + "." + QString::number(tenths % 10);
}

}  // namespace kx
