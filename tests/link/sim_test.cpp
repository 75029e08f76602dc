#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "base/common.h"
#include "link/link_fixture.h"
#include "sim_packet.h"

namespace kx::test {
namespace {

// The tool's side of a transfer exchange: one command, the reply of the transfer store.
class SimExchange : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        link->addReplyHandler([this](std::uint8_t code, std::span<const std::uint8_t> data) {
            if (code < 0xD0 || code > 0xD8) return;
            reply = QByteArray(reinterpret_cast<const char*>(data.data()),
                               static_cast<qsizetype>(data.size()));
            replySeen = 1;
        });
        // A later handler sees every 0xCE reply once.
        link->addReplyHandler([this](std::uint8_t code, std::span<const std::uint8_t> data) {
            if (code != cmd::kControl) return;
            ceReplies << QByteArray(reinterpret_cast<const char*>(data.data()),
                                    static_cast<qsizetype>(data.size()));
        });
    }

    static std::span<const std::uint8_t> bytes(const QByteArray& a) {
        return {reinterpret_cast<const std::uint8_t*>(a.constData()),
                static_cast<std::size_t>(a.size())};
    }
    // Sends code + args; the transfer reply data, or none after 500 ms.
    std::optional<QByteArray> transact(std::uint8_t code, const QByteArray& args) {
        replySeen = 0;
        link->sendCommand(code, bytes(args));
        if (!waitFlag(link->waiter(), replySeen, 500)) return std::nullopt;
        return reply;
    }
    // The transfer reply data, or "<no reply>".
    QByteArray ask(std::uint8_t code, const QByteArray& args) {
        return transact(code, args).value_or("<no reply>");
    }
    // Sends 0xCE + args; the data of the 0xCE reply, or "<no reply>" after 200 ms.
    QByteArray control(const QByteArray& args) {
        ceReplies.clear();
        link->sendCommand(cmd::kControl, bytes(args));
        if (!platform.pumpUntil([&] { return !ceReplies.isEmpty(); }, 200)) return "<no reply>";
        return ceReplies.back();
    }

    static QByteArray be(std::uint32_t v, int size) {
        QByteArray b;
        kxsim::putBe(b, v, size);
        return b;
    }
    static QByteArray blockArgs(const QByteArray& raw) {
        std::vector<std::uint8_t> packed(
            static_cast<std::size_t>(zeroRunBound(static_cast<int>(raw.size()))));
        const int p = Fun_ZeroRunEncode({reinterpret_cast<const std::uint8_t*>(raw.constData()),
                                         static_cast<std::size_t>(raw.size())},
                                        packed);
        return be(static_cast<std::uint32_t>(raw.size()), 2) +
               be(static_cast<std::uint32_t>(p), 2) +
               QByteArray(reinterpret_cast<const char*>(packed.data()), p);
    }
    static QByteArray startArgs(const QByteArray& file, int type) {
        return be(static_cast<std::uint32_t>(file.size()), 4) +
               be(kxsim::additiveChecksum(file), 2) + bytesOf({type});
    }
    // A file with zero runs, literal 0xFE bytes and a long run across a block boundary.
    static QByteArray sampleFile() {
        QByteArray f;
        for (int i = 0; i < 1500; ++i)
            f.append(static_cast<char>(i % 7 == 0 ? 0xFE : i % 251));
        f.append(QByteArray(700, '\0'));
        f.append("END");
        return f;
    }
    // Start, blocks of 1024, verification with an all-zero argument block.
    std::optional<QByteArray> download(const QByteArray& file, int type) {
        if (!transact(cmd::kDownloadStart, startArgs(file, type))) return std::nullopt;
        for (qsizetype at = 0; at < file.size(); at += 1024) {
            if (!transact(cmd::kDownloadBlock, blockArgs(file.mid(at, 1024)))) return std::nullopt;
        }
        return transact(cmd::kDownloadVerify, QByteArray(10, '\0'));
    }
    QByteArray stored(int type) {
        QFile f(sim->transfer().pathOf(type));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::int32_t replySeen = 0;
    QByteArray reply;
    QList<QByteArray> ceReplies;
};

TEST(SimPacking, ZeroRunDecodeUndoesTheEncoder) {
    using kxsim::zeroRunDecode;
    EXPECT_EQ(*zeroRunDecode(bytesOf({0xFE, 0x03, 0x41}), 4), bytesOf({0, 0, 0, 0x41}));
    EXPECT_EQ(*zeroRunDecode(bytesOf({0x41, 0x00, 0x42}), 3), bytesOf({0x41, 0, 0x42}));
    EXPECT_EQ(*zeroRunDecode(bytesOf({0xFE}), 1), bytesOf({0xFE}));  // the last byte is literal
    EXPECT_EQ(*zeroRunDecode(bytesOf({0xFE, 0xFF, 0x41}), 2), bytesOf({0xFE, 0x41}));
    EXPECT_EQ(*zeroRunDecode(bytesOf({0xFE, 0xFA, 0xFE, 0x31, 0x00}), 300), QByteArray(300, '\0'));
    EXPECT_EQ(kxsim::additiveChecksum(bytesOf({0xFF, 0xFF, 0x02})), 0x0200);

    EXPECT_FALSE(zeroRunDecode(bytesOf({0xFE, 0x00, 0x41}), 1));    // count 0
    EXPECT_FALSE(zeroRunDecode(bytesOf({0xFE, 0xFB, 0x41}), 252));  // count above 250
    EXPECT_FALSE(zeroRunDecode(bytesOf({0x41, 0xFE, 0x03}), 5));    // code reaching the last byte
    EXPECT_FALSE(zeroRunDecode(bytesOf({0xFE, 0x03, 0x41}), 3));    // longer than announced
    EXPECT_FALSE(zeroRunDecode(bytesOf({0x41, 0x42}), 3));          // shorter than announced
    EXPECT_FALSE(zeroRunDecode({}, 1));
}

TEST_F(SimExchange, DownloadIsDecodedCheckedStoredAndUploadedBack) {
    const QByteArray file = sampleFile();
    const auto start = transact(cmd::kDownloadStart, startArgs(file, 2));
    ASSERT_TRUE(start);
    EXPECT_EQ(*start, bytesOf({0x50}));
    for (qsizetype at = 0; at < file.size(); at += 1024) {
        ASSERT_TRUE(transact(cmd::kDownloadBlock, blockArgs(file.mid(at, 1024)))) << at;
    }
    const auto status = transact(cmd::kDownloadStatus, {});
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, bytesOf({0x50}) +
                           be(static_cast<std::uint32_t>(file.size()), 4));  // good, bytes so far
    const auto verify = transact(cmd::kDownloadVerify, bytesOf({0x88, 12, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(verify);
    EXPECT_EQ(static_cast<std::uint8_t>((*verify)[0]), kReplyYes);
    EXPECT_EQ(stored(2), file);
    EXPECT_EQ(sim->transfer().switchedScene(), 12);

    const auto info = transact(cmd::kUploadInfo, bytesOf({2}));
    ASSERT_TRUE(info);
    const std::uint32_t startAddress = kxsim::SimTransfer::startAddressOf(2);
    EXPECT_EQ(*info, bytesOf({0x02, 0x01}) + be(startAddress, 4) +
                         be(static_cast<std::uint32_t>(file.size()), 4));
    QByteArray uploaded;
    while (uploaded.size() < file.size()) {
        const int n = static_cast<int>(std::min<qsizetype>(512, file.size() - uploaded.size()));
        const auto block =
            transact(cmd::kUploadBlock, be(startAddress + uploaded.size(), 4) + be(n, 2));
        ASSERT_TRUE(block);
        ASSERT_EQ(block->size(), n);
        uploaded += *block;
    }
    EXPECT_EQ(uploaded, file);

    // A type nothing was stored for is reported absent.
    EXPECT_EQ(ask(cmd::kUploadInfo, bytesOf({3})), bytesOf({0x03, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SimExchange, VerificationFailsForABadChecksumOrOnRequest) {
    const QByteArray file = sampleFile();
    QByteArray start = startArgs(file, 1);
    start[5] = static_cast<char>(start[5] ^ 1);  // checksum one off
    ASSERT_TRUE(transact(cmd::kDownloadStart, start));
    for (qsizetype at = 0; at < file.size(); at += 1024)
        transact(cmd::kDownloadBlock, blockArgs(file.mid(at, 1024)));
    EXPECT_EQ(ask(cmd::kDownloadVerify, QByteArray(10, '\0')), bytesOf({kReplyNone}));

    sim->transfer().faults.failVerify = true;
    EXPECT_EQ(*download(file, 1), bytesOf({kReplyNone}));
    EXPECT_TRUE(stored(1).isEmpty());
    EXPECT_EQ(sim->transfer().storedFiles(), 0);
}

TEST_F(SimExchange, BadBlocksGetNoAnswerAndAreNotKept) {
    const QByteArray file("ABCDEF");
    ASSERT_TRUE(transact(cmd::kDownloadStart, startArgs(file, 4)));
    const QByteArray good = blockArgs(file);
    EXPECT_FALSE(transact(cmd::kDownloadBlock, good.left(good.size() - 1)));  // truncated
    EXPECT_FALSE(transact(cmd::kDownloadBlock,
                          be(6, 2) + be(3, 2) + bytesOf({0xFE, 0x00, 0x41})));  // bad code
    EXPECT_FALSE(transact(cmd::kDownloadBlock, blockArgs(file + "G")));  // more than announced
    EXPECT_EQ(sim->transfer().blocksRefused(), 3);
    EXPECT_EQ(ask(cmd::kDownloadStatus, {}), bytesOf({0x50, 0, 0, 0, 0}));
    ASSERT_TRUE(transact(cmd::kDownloadBlock, good));
    EXPECT_EQ(ask(cmd::kDownloadVerify, QByteArray(10, '\0')), bytesOf({kReplyYes}));
    EXPECT_EQ(stored(4), file);
}

TEST_F(SimExchange, LostAnswersAndAShortStatusAreRecoverable) {
    const QByteArray file = sampleFile();
    ASSERT_TRUE(transact(cmd::kDownloadStart, startArgs(file, 3)));
    // The first block's answer is lost: the status shows it arrived.
    sim->faults().dropCodes = {cmd::kDownloadBlock};
    sim->faults().dropLimit = 1;
    EXPECT_FALSE(transact(cmd::kDownloadBlock, blockArgs(file.left(1024))));
    EXPECT_EQ(ask(cmd::kDownloadStatus, {}), bytesOf({0x50, 0, 0, 0x04, 0x00}));
    // The second block is reported missing and forgotten: sent again.
    sim->transfer().faults.wrongStatus = 1;
    ASSERT_TRUE(transact(cmd::kDownloadBlock, blockArgs(file.mid(1024, 1024))));
    EXPECT_EQ(ask(cmd::kDownloadStatus, {}), bytesOf({0x50, 0, 0, 0x04, 0x00}));
    ASSERT_TRUE(transact(cmd::kDownloadBlock, blockArgs(file.mid(1024, 1024))));
    ASSERT_TRUE(transact(cmd::kDownloadBlock, blockArgs(file.mid(2048))));
    EXPECT_EQ(ask(cmd::kDownloadVerify, QByteArray(10, '\0')), bytesOf({kReplyYes}));
    EXPECT_EQ(stored(3), file);
    EXPECT_EQ(sim->repliesDropped(), 1);
}

TEST_F(SimExchange, UploadFaultAndDuplicatedOrDelayedReplies) {
    ASSERT_TRUE(download(QByteArray("0123456789"), 4));
    sim->transfer().faults.shortUpload = true;
    const std::uint32_t startAddress = kxsim::SimTransfer::startAddressOf(4);
    ASSERT_TRUE(transact(cmd::kUploadInfo, bytesOf({4})));
    EXPECT_EQ(ask(cmd::kUploadBlock, be(startAddress, 4) + be(10, 2)), QByteArray("012345678"));

    sim->faults().duplicate = true;
    sim->faults().delayMs = 20;
    int replies = 0;
    link->addReplyHandler([&](std::uint8_t code, std::span<const std::uint8_t>) {
        if (code == cmd::kConnect) ++replies;
    });
    link->toggleConnection();
    EXPECT_TRUE(link->connected());
    ASSERT_TRUE(platform.pumpUntil([&] { return replies == 2; }));
    EXPECT_EQ(link->receiveCount(), 7);  // download 3, upload 2, then both copies
}

TEST_F(SimExchange, QueriesAndReports) {
    EXPECT_EQ(control(bytesOf({0x21})), bytesOf({0x21}) + "KX-7420 SIM V14.2");
    EXPECT_EQ(control(bytesOf({0x26})), bytesOf({0x26, 0x44}));  // nothing stored
    EXPECT_EQ(control(bytesOf({0x31})), bytesOf({0x31, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(control(bytesOf({0x24, 0x02, 0x03})), bytesOf({0x24, 0x02}));  // key 3 learned
    EXPECT_EQ(control(bytesOf({0x50, 0x01})), bytesOf({0x50, 0x66, 0x00, 0xFF, 0x12, 0xED}));

    // Serial test: nothing echoed until the test function is on.
    EXPECT_EQ(control(bytesOf({0x19, 0xA1, 0x01})), "<no reply>");
    EXPECT_EQ(control(bytesOf({0x19, 0x88})), "<no reply>");
    EXPECT_EQ(control(bytesOf({0x19, 0xA1, 0x01, 0x0A, 0xFF})),
              bytesOf({0x19, 0xA1, 0x01, 0x0A, 0xFF}));

    // Scene association: 0x20, source, received number, scene.
    ceReplies.clear();
    ASSERT_TRUE(link->sendHexText(kSceneReportOnText));
    ASSERT_TRUE(platform.pumpUntil([&] { return !ceReplies.isEmpty(); }));
    EXPECT_EQ(ceReplies.back(), bytesOf({0x20, 0x00, 0x01, 0x01}));
    EXPECT_EQ(control(bytesOf({0x12, 0x05})), bytesOf({0x20, 0x00, 0x05, 0x05}));
    ASSERT_TRUE(link->sendHexText(kSceneReportOffText));
    EXPECT_EQ(control(bytesOf({0x12, 0x06})), "<no reply>");
    EXPECT_EQ(sim->currentScene(), 6);
}

class SimWithInfo : public SimExchange {
  protected:
    void adjustSim(kxsim::SimConfig& c) override { c.computerInfo = QStringLiteral("PC-1 机房"); }
};

TEST_F(SimWithInfo, StoredComputerInformationIsALengthAndUtf16Text) {
    EXPECT_EQ(control(bytesOf({0x26})), bytesOf({0x26, 0x66,  // information present
                                                 7,           // 7 code units
                                                 0x00, 'P', 0x00, 'C', 0x00, '-', 0x00, '1', 0x00,
                                                 ' ', 0x67, 0x3A, 0x62, 0x3F}));
}

TEST_F(SimExchange, MalformedDatagramsNeverUpsetTheController) {
    const QHostAddress lo(QHostAddress::LocalHost);
    const QList<QByteArray> bad = {
        {},
        QByteArray("K74"),
        QByteArray("K7421") + char(0xCC) + char(0x50) + char(0xC0),
        QByteArray("K7420") + char(0xCC) + char(0x50) + QByteArray(kxsim::kMaxBody + 1, char(0xD1)),
    };
    for (const QByteArray& d : bad)
        sim->handleDatagram(d, lo, 9);
    EXPECT_EQ(sim->malformedCount(), 4);
    // Truncated bodies of every transfer command and frames of the wrong length.
    for (int code : {0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD8, 0x6A, 0x6C, 0xCE, 0xFA}) {
        sim->handleDatagram(QByteArray("K7420") + char(0xCC) + char(0x50) + char(code), lo, 9);
        sim->handleDatagram(QByteArray("K7420") + char(0xCC) + char(0x50) + char(code) + char(0x26),
                            lo, 9);
    }
    EXPECT_TRUE(sim->frameTimesNs(cmd::kDmxPortsAB).empty());
    EXPECT_FALSE(sim->transfer().downloading());
    ASSERT_TRUE(transact(cmd::kDownloadStatus, {}));  // still answering
}

TEST(SimProgram, RunsBesideTheToolAndStopsByItself) {
    // The build puts the program in bin/ beside the tests/ folder.
    const QString program = QCoreApplication::applicationDirPath() + "/../bin/kx7420-sim";
    ASSERT_TRUE(QFile::exists(program)) << program.toStdString();
    LoopbackPlatform platform;
    QTemporaryDir files;

    LinkConfig lc;
    lc.commandHost = lc.broadcastHost = "127.0.0.1";
    lc.localAddress = QHostAddress(QHostAddress::LocalHost);
    ControllerLink link(lc, {platform, platform}, platform);
    const int privatePort = link.socket(ControllerLink::Endpoint::Private).localPort();

    QProcess sim;
    sim.start(program, {"--port", "0", "--tool-port", QString::number(privatePort), "--folder",
                        files.path(), "--keepalive-ms", "50", "--lifetime-ms", "3000", "--log",
                        files.filePath("sim.log")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(platform.pumpUntil([&] { return sim.canReadLine(); }, 5000));
    const QString first = QString::fromUtf8(sim.readLine());
    const auto match = QRegularExpression(R"(127\.0\.0\.1:(\d+)\s+listening)").match(first);
    ASSERT_TRUE(match.hasMatch()) << first.toStdString();

    link.socket(ControllerLink::Endpoint::Command).setRemotePort(match.captured(1).toInt());
    link.toggleConnection();
    EXPECT_TRUE(link.connected());
    platform.pumpFor(200);  // a few keep-alive probes, answered
    ASSERT_TRUE(sim.waitForFinished(6000));
    EXPECT_EQ(sim.exitCode(), 0);
    QFile log(files.filePath("sim.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains("CC 50  connect"));
    EXPECT_TRUE(text.contains("CA 02  keep-alive answer"));
    EXPECT_TRUE(text.contains("stopping"));
}

}  // namespace
}  // namespace kx::test
