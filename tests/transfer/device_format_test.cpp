#include <gtest/gtest.h>

#include <vector>

#include "transfer/device_format.h"

namespace kx {
namespace {

using Bytes = std::vector<std::uint8_t>;

QByteArray imageWithSignatureAt(int size, int at) {
    QByteArray image(size, '\x5A');
    if (at >= 0) image.replace(at, kFirmwareSignature.size(), kFirmwareSignature);
    return image;
}

TEST(FirmwareSignature, MustStartAtLeast1000BytesBeforeTheEnd) {
    EXPECT_TRUE(firmwareSignatureFound(imageWithSignatureAt(5000, 4000)));   // exactly 1000
    EXPECT_FALSE(firmwareSignatureFound(imageWithSignatureAt(5000, 4001)));  // 999 before
    EXPECT_TRUE(firmwareSignatureFound(imageWithSignatureAt(5000, 0)));
    EXPECT_TRUE(firmwareSignatureFound(imageWithSignatureAt(1000, 0)));  // smallest image
    EXPECT_FALSE(firmwareSignatureFound(imageWithSignatureAt(999, 0)));  // too small
    EXPECT_FALSE(firmwareSignatureFound(imageWithSignatureAt(5000, -1)));
    EXPECT_FALSE(firmwareSignatureFound(QByteArray()));
}

TEST(FirmwareSignature, NeedsAllTwelveBytes) {
    QByteArray image(3000, '\0');
    image.replace(100, 11, "Vorn KX-742");  // one byte short
    image.replace(500, 3, "Vor");
    EXPECT_FALSE(firmwareSignatureFound(image));
    image.replace(1200, 12, "vorn KX-7420");  // letter case counts
    EXPECT_FALSE(firmwareSignatureFound(image));
    image.replace(1800, 12, "Vorn KX-7420");
    EXPECT_TRUE(firmwareSignatureFound(image));
}

TEST(QueryReplies, VersionIsOneCharacterPerByte) {
    EXPECT_EQ(queryReplyText(Bytes{0x21, 'V', '2', '.', '1'}), "  OK 机器版本号= V2.1\r\n");
    EXPECT_EQ(queryReplyText(Bytes{0x21}), "  OK 机器版本号= \r\n");
}

TEST(QueryReplies, ComputerInformation) {
    EXPECT_EQ(queryReplyText(Bytes{0x26, 0x66,
                                   0x02,          // two UTF-16 code units
                                   0x75, 0x35,    // 电
                                   0x81, 0x11}),  // 脑
              "\r\n电脑\r\n");
    EXPECT_EQ(queryReplyText(Bytes{0x26, 0x44}), "\r\n没有\r\n");
    // A length reaching past the reply is cut at its end.
    EXPECT_EQ(queryReplyText(Bytes{0x26, 0x66, 0x09, 0x00, 'P', 0x00}), "\r\nP\r\n");
    EXPECT_EQ(queryReplyText(Bytes{0x26}), std::nullopt);
    EXPECT_EQ(queryReplyText(Bytes{0x26, 0x12}), std::nullopt);
}

TEST(QueryReplies, FileIdentifiers) {
    EXPECT_EQ(queryReplyText(Bytes{0x31, 0x01, 0x07, 0x00, 0x00}),
              "  OK 墙板文件ID=A007  VOD文件不存在  \r\n");
    EXPECT_EQ(queryReplyText(Bytes{0x31, 0x00, 0x07, 0x02, 0xFF}),
              "  OK 墙板文件不存在  VOD文件ID=B255  \r\n");
    EXPECT_EQ(queryReplyText(Bytes{0x31, 0x01}), "  OK 墙板文件ID=A000  VOD文件不存在  \r\n");
}

TEST(QueryReplies, OthersAreNotShown) {
    EXPECT_EQ(queryReplyText(Bytes{}), std::nullopt);
    EXPECT_EQ(queryReplyText(Bytes{0x19, 0xA1, 0x00}), std::nullopt);
    EXPECT_EQ(queryReplyText(Bytes{0x20, 0x01, 0x05, 0x05}), std::nullopt);
}

TEST(TypedCommands, WholeTextMatchesExactly) {
    EXPECT_EQ(typedCommand("@logo"), TypedCommand::Logo);
    EXPECT_EQ(typedCommand("@版本号"), TypedCommand::Version);
    EXPECT_EQ(typedCommand("@调试入口"), TypedCommand::DeveloperMode);
    EXPECT_EQ(typedCommand("@系统信息"), TypedCommand::ComputerInfo);
    EXPECT_EQ(typedCommand("@版本"), TypedCommand::None);
    EXPECT_EQ(typedCommand("@LOGO"), TypedCommand::None);
    EXPECT_EQ(typedCommand("x@logo"), TypedCommand::None);
}

}  // namespace
}  // namespace kx
