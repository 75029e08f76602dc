#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/common.h"
#include "sim_packet.h"
#include "transfer/transfer_format.h"

namespace kx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes toBytes(std::span<const std::uint8_t> s) {
    return Bytes(s.begin(), s.end());
}

// The block as the Controller unpacks it (the simulated Controller's own decoder, independent of
// the packing); empty when it refuses the block.
Bytes unpack(const DownloadBlock& b) {
    const auto packed = std::span(b.arguments).subspan(kBlockHeaderSize);
    const auto raw = kxsim::zeroRunDecode(
        QByteArray(reinterpret_cast<const char*>(packed.data()), std::ssize(packed)),
        b.arguments[0] << 8 | b.arguments[1]);
    return raw ? Bytes(raw->begin(), raw->end()) : Bytes{};
}

TEST(TransferArguments, StartCarriesLengthChecksumAndType) {
    // A 1025-byte file goes out with length 00 00 04 01.
    EXPECT_EQ(toBytes(startArguments(1025, 0x0200, FileType::Show)),
              (Bytes{0x00, 0x00, 0x04, 0x01,  // length, big-endian
                     0x02, 0x00,              // additive checksum
                     0x01}));                 // file type: show
    EXPECT_EQ(toBytes(startArguments(0x12345678, 0xBEEF, FileType::Firmware)),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0xBE, 0xEF, 0x05}));
}

TEST(TransferArguments, ChecksumWrapsAt16Bits) {
    EXPECT_EQ(additiveChecksum(Bytes{0xFF, 0xFF, 0x02}), 0x0200);
    EXPECT_EQ(additiveChecksum(Bytes(257, 0xFF)), (257 * 255) % 65536);
    EXPECT_EQ(additiveChecksum(Bytes{}), 0);
}

TEST(TransferArguments, VerifySwitchesSceneOnlyWhenAsked) {
    EXPECT_EQ(toBytes(verifyArguments(0)), Bytes(10, 0));
    EXPECT_EQ(toBytes(verifyArguments(37)),
              (Bytes{0x88,  // switch to a scene after loading
                     37,    // the scene
                     0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(TransferArguments, UploadInfoAndBlock) {
    EXPECT_EQ(toBytes(uploadInfoArguments(FileType::Vod)), Bytes{0x03});
    EXPECT_EQ(toBytes(uploadBlockArguments(0x00081200 + 512, 512)),
              (Bytes{0x00, 0x08, 0x14, 0x00,  // start address + offset
                     0x02, 0x00}));           // count
    EXPECT_EQ(toBytes(uploadBlockArguments(0xFFFFFFFF, 7)),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x07}));
}

TEST(TransferArguments, BlockHeaderAndPackedBody) {
    const Bytes file{0x00, 0x00, 0x00, 0x41};
    const DownloadBlock b = planBlock(file, 0);
    EXPECT_EQ(b.raw, 4);
    EXPECT_EQ(b.arguments, (Bytes{0x00, 0x04,           // raw length
                                  0x00, 0x03,           // packed length
                                  0xFE, 0x03, 0x41}));  // three zeros, then 0x41
    EXPECT_EQ(planBlock(Bytes{0x41, 0x00, 0x42}, 0).arguments,
              (Bytes{0x00, 0x03, 0x00, 0x03, 0x41, 0x00, 0x42}));
    EXPECT_EQ(planBlock(Bytes{0xFE}, 0).arguments, (Bytes{0x00, 0x01, 0x00, 0x01, 0xFE}));
    EXPECT_EQ(planBlock(Bytes{0xFE, 0x41}, 0).arguments,
              (Bytes{0x00, 0x02, 0x00, 0x03, 0xFE, 0xFF, 0x41}));
    EXPECT_EQ(planBlock(Bytes(300, 0), 0).arguments,
              (Bytes{0x01, 0x2C, 0x00, 0x05, 0xFE, 0xFA, 0xFE, 0x31, 0x00}));
}

TEST(BlockPlanner, SplitsAFileIntoFullBlocksAndARest) {
    Bytes file(1025, 0x11);
    const DownloadBlock first = planBlock(file, 0);
    EXPECT_EQ(first.raw, 1024);
    EXPECT_EQ(first.arguments[0], 0x04);
    EXPECT_EQ(first.arguments[1], 0x00);
    const DownloadBlock second = planBlock(file, 1024);
    EXPECT_EQ(second.raw, 1);
    EXPECT_EQ(second.arguments, (Bytes{0x00, 0x01, 0x00, 0x01, 0x11}));
    EXPECT_EQ(planBlock(file, 1025).raw, 0);
}

TEST(BlockPlanner, ShortensBlocksThatWouldNotFitTheCommand) {
    // 1024 bytes 0xFE pack to 2047 bytes; 998 of them pack to 1995 and 999 to 1997.
    const Bytes file(3000, 0xFE);
    const DownloadBlock b = planBlock(file, 0);
    EXPECT_EQ(b.raw, 998);
    EXPECT_EQ(b.arguments.size(), 4u + 1995);
    EXPECT_EQ(b.arguments[0] << 8 | b.arguments[1], 998);
    EXPECT_EQ(b.arguments[2] << 8 | b.arguments[3], 1995);
    EXPECT_EQ(unpack(b), Bytes(998, 0xFE));

    // Mostly escapes: the block is cut just where the packing reaches the limit.
    Bytes mixed(2048, 0xFE);
    for (int i = 0; i < 2048; i += 40)
        mixed[i] = 0x20;
    const DownloadBlock m = planBlock(mixed, 0);
    EXPECT_LE(m.arguments.size(), 2000u);
    EXPECT_LT(m.raw, 1024);
    EXPECT_GT(m.raw, 998);
    // One more byte would not have fit.
    Bytes longer(2 * (m.raw + 1));
    EXPECT_GT(Fun_ZeroRunEncode(std::span(mixed).first(m.raw + 1), longer), kMaxPackedBlock);
}

TEST(BlockPlanner, EveryFileUnpacksToItselfWithinTheCommandLimit) {
    std::mt19937 rng(7420);
    for (int round = 0; round < 40; ++round) {
        // Mostly zeros, 0xFE and 0x00-runs, the bytes the packing treats specially.
        Bytes file(1 + rng() % 5000);
        const int style = round % 4;
        for (auto& b : file) {
            const unsigned r = rng() % 10;
            b = style == 0   ? static_cast<std::uint8_t>(rng())
                : style == 1 ? (r < 8 ? 0xFE : 0x00)
                : style == 2 ? (r < 6 ? 0x00 : static_cast<std::uint8_t>(rng()))
                             : (r < 5 ? 0xFE : static_cast<std::uint8_t>(0xFD + r % 3));
        }
        Bytes rebuilt;
        std::size_t offset = 0;
        while (offset < file.size()) {
            const DownloadBlock b = planBlock(file, offset);
            ASSERT_GT(b.raw, 0);
            ASSERT_LE(b.arguments.size(), static_cast<std::size_t>(kMaxArguments));
            const int packed = b.arguments[2] << 8 | b.arguments[3];
            ASSERT_EQ(b.arguments.size(), 4u + packed);
            const Bytes part = unpack(b);
            ASSERT_EQ(static_cast<int>(part.size()), b.arguments[0] << 8 | b.arguments[1]);
            rebuilt.insert(rebuilt.end(), part.begin(), part.end());
            offset += b.raw;
        }
        EXPECT_EQ(rebuilt, file) << "round " << round;
    }
}

TEST(TransferReplies, StatusNeedsFiveBytes) {
    const auto s = readStatusReply(Bytes{0x50, 0x00, 0x01, 0x08, 0x00});
    ASSERT_TRUE(s);
    EXPECT_EQ(s->status, 0x50);
    EXPECT_EQ(s->received, 0x010800u);
    EXPECT_FALSE(readStatusReply(Bytes{0x50, 0x00, 0x00, 0x04}));
}

TEST(TransferReplies, UploadInfoNeedsTenBytes) {
    const auto i = readUploadInfo(Bytes{0x02,                      // file type
                                        0x01,                      // present
                                        0x00, 0x10, 0x00, 0x00,    // start address
                                        0x00, 0x00, 0x05, 0x01});  // size
    ASSERT_TRUE(i);
    EXPECT_EQ(i->fileType, 2);
    EXPECT_EQ(i->present, 1);
    EXPECT_EQ(i->address, 0x100000u);
    EXPECT_EQ(i->size, 1281u);
    EXPECT_FALSE(readUploadInfo(Bytes(9, 1)));
}

TEST(TransferLogTexts, SizeInKilobytesWithOneDecimal) {
    EXPECT_EQ(kilobytesText(12800), "12.5");
    EXPECT_EQ(kilobytesText(1), "0.0");
    EXPECT_EQ(kilobytesText(256), "0.3");  // 0.25 rounds up
    EXPECT_EQ(kilobytesText(1024), "1.0");
    EXPECT_EQ(kilobytesText(1048576), "1024.0");
    EXPECT_EQ(kilobytesText(1075), "1.0");  // 1.0498
}

}  // namespace
}  // namespace kx
