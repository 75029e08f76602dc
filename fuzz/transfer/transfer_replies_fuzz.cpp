// The Controller's transfer and query answers read by the tool, and the block planner on any file
// content: nothing may read outside the answer, and every planned block must fit the command and
// unpack to exactly the part of the file it stands for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "transfer/device_format.h"
#include "transfer/transfer_format.h"

namespace {

std::vector<std::uint8_t> unpack(std::span<const std::uint8_t> packed) {
    std::vector<std::uint8_t> raw;
    for (std::size_t i = 0; i < packed.size(); ++i) {
        if (packed[i] == 0xFE && i + 1 < packed.size()) {
            const std::uint8_t k = packed[++i];
            if (k == 0xFF) {
                raw.push_back(0xFE);
            } else {
                raw.insert(raw.end(), k, 0);
            }
        } else {
            raw.push_back(packed[i]);
        }
    }
    return raw;
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
        const auto part = unpack(std::span(block.arguments).subspan(kx::kBlockHeaderSize));
        if (part.size() != static_cast<std::size_t>(block.raw) ||
            !std::equal(part.begin(), part.end(),
                        bytes.begin() + static_cast<std::ptrdiff_t>(offset))) {
            std::abort();
        }
        offset += static_cast<std::size_t>(block.raw);
    }
    return 0;
}
