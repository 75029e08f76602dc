// The Controller's transfer and query answers read by the tool, and the block planner on any file
// content: nothing may read outside the answer, and every planned block must fit the command and
// unpack to exactly the part of the file it stands for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sim_packet.h"
#include "transfer/device_format.h"
#include "transfer/transfer_format.h"

namespace {

// The block as the Controller unpacks it: the simulated Controller's own decoder.
std::optional<QByteArray> unpack(const kx::DownloadBlock& block) {
    const auto packed = std::span(block.arguments).subspan(kx::kBlockHeaderSize);
    return kxsim::zeroRunDecode(
        QByteArray(reinterpret_cast<const char*>(packed.data()), std::ssize(packed)), block.raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    (void)kx::readStatusReply(bytes);
    (void)kx::readUploadInfo(bytes);
    (void)kx::queryReplyText(bytes);

    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const kx::DownloadBlock block = kx::planBlock(bytes, offset);
        if (block.raw <= 0 ||
            block.arguments.size() > static_cast<std::size_t>(kx::kMaxArguments)) {
            std::abort();
        }
        const auto part = unpack(block);
        if (!part || part->size() != block.raw ||
            !std::equal(part->begin(), part->end(),
                        bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                        [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
            std::abort();
        }
        offset += static_cast<std::size_t>(block.raw);
    }
    return 0;
}
