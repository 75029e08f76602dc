#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "base/settings.h"
#include "link/link_config.h"
#include "link/protocol.h"
#include "link/socket_master.h"

namespace kx {
namespace {

std::vector<std::uint8_t> vec(const QByteArray& a) {
    return {a.begin(), a.end()};
}

TEST(Packet, CommandAndHexTextLayouts) {
    const std::uint8_t c4[] = {0xC4};
    EXPECT_EQ(vec(buildPacket(kClassCommand, kClassCommandOut, c4)),
              (std::vector<std::uint8_t>{
                  0x4B, 0x37, 0x34, 0x32, 0x30,  // magic "K7420"
                  0xCC, 0x50,                    // class: command
                  0xC4,                          // code: disconnect, no arguments
              }));
    EXPECT_EQ(*hexTextBytes("CE12 1F"), (std::vector<std::uint8_t>{0xCE, 0x12, 0x1F}));
    EXPECT_EQ(*hexTextBytes("ce 12 01"), (std::vector<std::uint8_t>{0xCE, 0x12, 0x01}));
    // A lone final digit is a byte of its own.
    EXPECT_EQ(*hexTextBytes("ABC"), (std::vector<std::uint8_t>{0xAB, 0x0C}));
    EXPECT_TRUE(hexTextBytes("")->empty());
    EXPECT_FALSE(hexTextBytes("0G"));
    EXPECT_FALSE(hexTextBytes("CE\t12"));
    // More than the Controller's 2001-byte body is never sent.
    EXPECT_TRUE(hexTextBytes(QString(2 * kMaxBody, 'A')));
    EXPECT_FALSE(hexTextBytes(QString(2 * kMaxBody + 1, 'A')));

    EXPECT_EQ(*hexTextBytes(kSceneReportOnText),
              (std::vector<std::uint8_t>{0xFA, 0xF5, 0xAA, 0x55,  // inner frame mark
                                         0x00, 0x0A,              // inner length 10
                                         0xCE, 0x20,              // scene association
                                         0x88, 0x00}));           // report on
    EXPECT_EQ(
        *hexTextBytes(kSceneReportOffText),
        (std::vector<std::uint8_t>{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x0A, 0xCE, 0x20, 0x44, 0xBC}));
}

TEST(Packet, ParseRejectsWhatIsNotAWholePacket) {
    const QByteArray header = QByteArray("K7420") + char(0xCC) + char(0x51);
    const auto parse = [](const QByteArray& a) {
        return parsePacket({reinterpret_cast<const std::uint8_t*>(a.constData()),
                            static_cast<std::size_t>(a.size())});
    };
    ASSERT_TRUE(parse(header));
    EXPECT_TRUE(parse(header)->body.empty());
    EXPECT_EQ(parse(header + char(0xC0) + char(0x66))->body.size(), 2u);
    EXPECT_FALSE(parse(header.left(6)));
    EXPECT_FALSE(parse(QByteArray("K7421") + char(0xCC) + char(0x51) + char(0xC0)));
    EXPECT_TRUE(parse(header + QByteArray(kMaxBody, 'x')));
    EXPECT_FALSE(parse(header + QByteArray(kMaxBody + 1, 'x')));
}

TEST(Packet, DmxFrameSetPlacement) {
    DmxFrame frame{};
    frame[0] = 0x99;     // carries no channel, never sent
    frame[1] = 0x01;     // port A address 1
    frame[512] = 0x02;   // port A address 512
    frame[513] = 0x03;   // port B address 1
    frame[1024] = 0x04;  // port B address 512
    frame[1025] = 0x05;  // port C address 1
    frame[1536] = 0x06;  // port C address 512
    frame[1537] = 0x07;  // port D address 1
    frame[2048] = 0x08;  // port D address 512
    frame[2049] = 0x09;  // VJ address 1
    frame[2560] = 0x0A;  // VJ address 512
    frame[2561] = 0x77;  // beyond VJ, never sent

    std::array<std::uint8_t, kDmxPairArguments> ab;
    ab.fill(0xEE);
    fillDmxPortsAB(frame, ab);
    std::array<std::uint8_t, kDmxPairArguments> expected{};
    expected[0] = 0x01;
    expected[511] = 0x02;
    expected[512] = 0x03;
    expected[1023] = 0x04;
    EXPECT_EQ(ab, expected);

    std::array<std::uint8_t, kDmxPairArguments> cd;
    fillDmxPortsCD(frame, cd);
    expected.fill(0);
    expected[0] = 0x05;
    expected[511] = 0x06;
    expected[512] = 0x07;
    expected[1023] = 0x08;
    EXPECT_EQ(cd, expected);

    std::array<std::uint8_t, kDmxVjArguments> vj;
    vj.fill(0xEE);  // stale bytes of an earlier command are cleared
    fillDmxPortVJ(frame, 2, vj);
    std::array<std::uint8_t, kDmxVjArguments> expectedVj{};
    expectedVj[0] = 0x09;    // VJ address 1
    expectedVj[511] = 0x0A;  // VJ address 512
    expectedVj[531] = 0x01;  // fixed 1
    expectedVj[532] = 0x02;  // VJ server selection
    expectedVj[533] = 0x01;  // fixed 1
    EXPECT_EQ(vj, expectedVj);
}

TEST(Counters, TextAndWrap) {
    EXPECT_EQ(counterText(0, 0), "S:0000   G:0000");
    EXPECT_EQ(counterText(12, 9), "S:0012   G:0009");
    EXPECT_EQ(counterText(9999, 1), "S:9999   G:0001");
    EXPECT_EQ(nextCount(0), 1);
    EXPECT_EQ(nextCount(9998), 9999);
    EXPECT_EQ(nextCount(9999), 1);
    EXPECT_EQ(hexDigits(std::vector<std::uint8_t>{0x01, 0x0A, 0xFF}), "010AFF");
}

TEST(SocketErrors, Texts) {
    EXPECT_EQ(socketErrorText(10048), "Address already in use.");
    EXPECT_EQ(socketErrorText(10047), "Address family not supported by protocol family.");
    EXPECT_EQ(socketErrorText(11004), "Valid name, no data record of requested type.");
    EXPECT_EQ(socketErrorText(10059), "Unknown error.");
}

class LinkConfigTest : public ::testing::Test {
  protected:
    LinkConfig read(const QString& text) {
        const QString ini = dir.filePath("SYSTEM.INI");
        EXPECT_TRUE(Fun_WriteText(ini, text));
        LinkDefaults d;
        d.broadcastHost = "127.0.0.1";  // never the real broadcast address in a test
        return readLinkConfig(ini, d);
    }
    QTemporaryDir dir;
};

TEST_F(LinkConfigTest, EndpointsFromTheSettings) {
    // The shipped settings: everything on loopback, broadcast mode to the same Controller.
    LinkConfig c = read("WIFI_IP=127.0.0.1\r\nWIFI_Port=51801");
    EXPECT_EQ(c.commandHost, "127.0.0.1");
    EXPECT_EQ(c.commandPort, 51801);
    EXPECT_EQ(c.broadcastHost, "127.0.0.1");
    EXPECT_EQ(c.broadcastPort, 51801);
    EXPECT_EQ(c.privatePort, kPrivatePort);
    EXPECT_EQ(c.localAddress, QHostAddress(QHostAddress::LocalHost));
    EXPECT_TRUE(c.notes.isEmpty());

    // A room's Controller: broadcast mode keeps its own destination.
    c = read("WIFI_IP=192.168.1.50\r\nWIFI_Port=51801");
    EXPECT_EQ(c.commandHost, "192.168.1.50");
    EXPECT_EQ(c.broadcastHost, "127.0.0.1");
    EXPECT_EQ(c.broadcastPort, kControllerPort);
    EXPECT_EQ(c.localAddress, QHostAddress(QHostAddress::AnyIPv4));
}

TEST_F(LinkConfigTest, MissingOrBadValuesFallBack) {
    LinkConfig c = read("不自动备份=0");
    EXPECT_EQ(c.commandHost, "127.0.0.1");  // the broadcast host
    EXPECT_EQ(c.commandPort, kControllerPort);
    EXPECT_EQ(c.notes.size(), 2);

    for (const char* port : {"WIFI_Port=abc", "WIFI_Port=0", "WIFI_Port=70000", "WIFI_Port="}) {
        c = read(QString("WIFI_IP=127.0.0.1\r\n") + port);
        EXPECT_EQ(c.commandPort, kControllerPort) << port;
        EXPECT_EQ(c.notes.size(), 1) << port;
    }
}

}  // namespace
}  // namespace kx
