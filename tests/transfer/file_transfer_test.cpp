#include <gtest/gtest.h>

#include <QNetworkDatagram>
#include <QUdpSocket>

#include "transfer/file_transfer.h"
#include "transfer_fixture.h"

namespace kx::test {
namespace {

using Download = TransferFixture;
using Upload = TransferFixture;

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

TEST_F(Download, EveryFileTypeArrivesByteIdentical) {
    const FileType types[] = {FileType::Show, FileType::WallPanel, FileType::Vod,
                              FileType::AirConIr, FileType::Firmware};
    unsigned seed = 1;
    for (FileType type : types) {
        const QByteArray file = sampleFile(3000 + 1000 * static_cast<int>(type), seed++);
        transfer->downloadFile(type, writeToolFile("f.bin", file), log);
        EXPECT_EQ(transfer->transferSucceeded(), 1) << log.text().toStdString();
        EXPECT_EQ(storedOnController(type), file) << "type " << static_cast<int>(type);
        log.clear();
    }
}

TEST_F(Download, LogOfASuccessfulDownload) {
    const QString path = writeToolFile("show.K74", QByteArray(1025, 'a'));
    transfer->downloadFile(FileType::Show, path, log);
    EXPECT_EQ(log.text(), "->文件:" + path +
                              "\r\n->读取文件\r\n"
                              "->文件大小:1.0K\r\n"
                              "->握手成功\r\n"
                              ">>\r\n"
                              "->校验中...\r\n"
                              "->校验成功\r\n"
                              "->下载成功\r\n");
}

TEST_F(Download, CommandsOnTheWire) {
    QByteArray file(1025, '\0');
    file[0] = static_cast<char>(0xFE);
    file[1024] = 0x41;
    transfer->downloadFile(FileType::Vod, writeToolFile("f.KVD", file), log);
    ASSERT_EQ(transfer->transferSucceeded(), 1);

    const auto starts = sim->commands(0xD0);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].body, hex("D0"        // start
                                  "00000401"  // length 1025
                                  "013F"      // checksum 0xFE + 0x41
                                  "03"));     // file type VOD
    const auto blocks = sim->commands(0xD1);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].body, hex("D1"
                                  "0400"              // raw length 1024
                                  "000D"              // packed length 13
                                  "FEFF"              // literal FE
                                  "FEFAFEFAFEFAFEFA"  // 4 x 250 zeros
                                  "FE16"              // 22 zeros
                                  "00"));             // the last byte is literal
    EXPECT_EQ(blocks[1].body, hex("D1"
                                  "0001"
                                  "0001"
                                  "41"));
    EXPECT_EQ(sim->commandCount(0xD8), 0);
    const auto verifies = sim->commands(0xD2);
    ASSERT_EQ(verifies.size(), 1u);
    EXPECT_EQ(verifies[0].body, hex("D2"
                                    "00000000000000000000"));
}

TEST_F(Download, VerificationCarriesTheSceneOnlyForTheShow) {
    transfer->sceneAfterShowDownload = [] { return 37; };
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", QByteArray(10, 1)), log);
    transfer->downloadFile(FileType::WallPanel, writeToolFile("q.KQB", QByteArray(10, 2)), log);
    const auto verifies = sim->commands(0xD2);
    ASSERT_EQ(verifies.size(), 2u);
    EXPECT_EQ(verifies[0].body, hex("D2"
                                    "88"  // switch scene after loading
                                    "25"  // scene 37
                                    "0000000000000000"));
    EXPECT_EQ(verifies[1].body, hex("D2"
                                    "00000000000000000000"));
    EXPECT_EQ(sim->transfer().switchedScene(), 37);
}

TEST_F(Download, BlocksOfEscapesAreShortenedToFitTheCommand) {
    const QByteArray file(3000, static_cast<char>(0xFE));
    transfer->downloadFile(FileType::Firmware, writeToolFile("fw.bin", file), log);
    EXPECT_EQ(transfer->transferSucceeded(), 1);
    EXPECT_EQ(storedOnController(FileType::Firmware), file);
    for (const auto& r : sim->commands(0xD1))
        EXPECT_LE(r.body.size(), 2001);
    EXPECT_EQ(sim->commands(0xD1).size(), 4u);  // 998 + 998 + 998 + 6
}

TEST_F(Download, LargeShowSurvivesFivePercentLostReplies) {
    // The block stream loses 5 % of its replies (acknowledgements and status answers); the start
    // and the verification have no second chance in the protocol and are left alone.
    const QByteArray file = sampleFile(240 * 1024, 99);
    const int blocks = (file.size() + 1023) / 1024;
    int sent = 0;
    transfer->shuttingDown = [&] {
        sim->faults().dropShare = ++sent < blocks ? 0.05 : 0.0;
        return false;
    };
    transfer->downloadFile(FileType::Show, writeToolFile("big.K74", file), log);
    EXPECT_EQ(transfer->transferSucceeded(), 1) << log.text().right(200).toStdString();
    EXPECT_EQ(storedOnController(FileType::Show), file);
    EXPECT_GT(sim->repliesDropped(), 0);
    EXPECT_GT(sim->commandCount(0xD8), 0);  // the lost acknowledgements went through the status
}

TEST_F(Download, StatusOneBlockShortResendsTheBlock) {
    const QByteArray file = sampleFile(5000, 3);
    sim->faults().dropCodes = {0xD1};
    sim->faults().dropLimit = 1;
    sim->transfer().faults.wrongStatus = 1;
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", file), log);
    EXPECT_TRUE(log.text().contains("->握手成功\r\nX>>>>>\r\n")) << log.text().toStdString();
    EXPECT_EQ(transfer->transferSucceeded(), 1);
    EXPECT_EQ(storedOnController(FileType::Show), file);
    EXPECT_EQ(sim->commandCount(0xD1), 5 + 1);
}

TEST_F(Download, LostAcknowledgementIsSettledByTheStatus) {
    const QByteArray file = sampleFile(5000, 4);
    sim->faults().dropCodes = {0xD1};
    sim->faults().dropLimit = 2;
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", file), log);
    EXPECT_TRUE(log.text().contains("->握手成功\r\n>>>>>\r\n"));
    EXPECT_EQ(sim->commandCount(0xD8), 2);
    EXPECT_EQ(sim->commands(0xD8).at(0).body, hex("D8"));  // the status query has no arguments
    EXPECT_EQ(sim->commandCount(0xD1), 5);                 // nothing sent twice
    EXPECT_EQ(storedOnController(FileType::Show), file);
}

TEST_F(Download, RepeatedRepliesDoNotConfuseTheExchange) {
    const QByteArray file = sampleFile(20000, 5);
    sim->faults().duplicate = true;
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", file), log);
    EXPECT_EQ(transfer->transferSucceeded(), 1);
    EXPECT_EQ(storedOnController(FileType::Show), file);
}

TEST_F(Download, LateRepeatedRepliesDoNotConfuseTheExchange) {
    const QByteArray file = sampleFile(20000, 12);
    sim->faults().duplicate = true;
    sim->faults().delayMs = 20;
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", file), log);
    EXPECT_EQ(transfer->transferSucceeded(), 1);
    EXPECT_EQ(storedOnController(FileType::Show), file);
    EXPECT_EQ(sim->commandCount(0xD1), 20);

    const QString dest = platform.dir.filePath("R-S7420.K74");
    transfer->uploadFile(FileType::Show, dest, log);
    EXPECT_EQ(readFile(dest), file);
}

TEST_F(Download, FailedVerificationIsNoSuccess) {
    sim->transfer().faults.failVerify = true;
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", sampleFile(3000, 6)), log);
    EXPECT_TRUE(log.text().endsWith(">>>\r\n->校验中...\r\n->校验失败\r\n"));
    EXPECT_EQ(transfer->transferSucceeded(), 0);
}

TEST_F(Download, UnansweredVerificationIsACommunicationFailure) {
    sim->faults().dropCodes = {0xD2};
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", sampleFile(3000, 6)), log);
    EXPECT_TRUE(log.text().endsWith("->校验中...\r\n->通信失败\r\n"));
    EXPECT_EQ(transfer->transferSucceeded(), 0);
}

TEST_F(Download, ControllerSilentMidwayStops) {
    sim->faults().dropCodes = {0xD1, 0xD8};
    sim->faults().dropLimit = -1;
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", sampleFile(5000, 7)), log);
    EXPECT_TRUE(log.text().endsWith("->握手成功\r\n->握手失败\r\n"));
    EXPECT_EQ(sim->commandCount(0xD1), 1);
    EXPECT_EQ(sim->commandCount(0xD8), 5);
    EXPECT_EQ(sim->commandCount(0xD2), 0);
}

TEST_F(Download, MissingOrEmptyFileSendsNothing) {
    transfer->downloadFile(FileType::Show, writeToolFile("empty.K74", {}), log);
    EXPECT_TRUE(log.text().endsWith("->读取文件\r\n->文件不存在！！！\r\n"));
    transfer->downloadFile(FileType::Show, platform.dir.filePath("none.K74"), log);
    EXPECT_EQ(sim->datagramCount(), 0);
}

TEST_F(Download, ShuttingDownStopsAfterTheCurrentBlock) {
    int blocks = 0;
    transfer->shuttingDown = [&] { return ++blocks >= 2; };
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", sampleFile(8000, 8)), log);
    EXPECT_TRUE(log.text().endsWith("->握手成功\r\n>>"));
    EXPECT_EQ(sim->commandCount(0xD2), 0);
}

TEST(DownloadNoController, HandshakeFailsAfterTheWait) {
    TransferPlatform platform;
    // A bound port that never answers.
    QUdpSocket silent;
    ASSERT_TRUE(silent.bind(QHostAddress::LocalHost, 0));
    ControllerLink link(TransferFixture::loopbackConfig(silent.localPort()), {platform, platform},
                        platform);
    FileTransfer transfer(link);
    TextLog log;
    const QString path = platform.dir.filePath("s.K74");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(12800, 7));
    f.close();

    const std::uint32_t start = platform.milliseconds();
    transfer.downloadFile(FileType::Show, path, log);
    const std::uint32_t took = platform.milliseconds() - start;
    EXPECT_EQ(log.text(),
              "->文件:" + path + "\r\n->读取文件\r\n->文件大小:12.5K\r\n->握手失败\r\n");
    EXPECT_EQ(transfer.transferSucceeded(), 0);
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 2000u);
}

TEST_F(Upload, FileComesBackByteIdentical) {
    const QByteArray file = sampleFile(1300, 9);
    transfer->downloadFile(FileType::WallPanel, writeToolFile("q.KQB", file), log);
    ASSERT_EQ(transfer->transferSucceeded(), 1);
    log.clear();

    const QString dest = platform.dir.filePath("R-QB.KQB");
    transfer->uploadFile(FileType::WallPanel, dest, log);
    EXPECT_EQ(readFile(dest), file);
    EXPECT_EQ(log.text(),
              "->准备上传\r\n->读取信息\r\n->文件大小:1.3K\r\n<<<\r\n->数据上传结束\r\n"
              "->上传成功\r\n \r\n文件=" +
                  dest + "\r\n\r\n时间：09:05:04\r\n");
    const auto info = sim->commands(0xD3);
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].body, hex("D3"
                                "02"));
    const auto blocks = sim->commands(0xD4);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].body, hex("D4"
                                  "00020000"
                                  "0200"));  // start address, 512
    EXPECT_EQ(blocks[2].body, hex("D4"
                                  "00020400"
                                  "0114"));  // + 1024, the last 276
}

TEST_F(Upload, ShortReplyStopsWithoutWritingAFile) {
    transfer->downloadFile(FileType::Vod, writeToolFile("v.KVD", sampleFile(2000, 10)), log);
    ASSERT_EQ(transfer->transferSucceeded(), 1);
    log.clear();
    sim->transfer().faults.shortUpload = true;
    const QString dest = platform.dir.filePath("R-VOD.KVD");
    transfer->uploadFile(FileType::Vod, dest, log);
    EXPECT_TRUE(log.text().endsWith("->文件大小:2.0K\r\n->数据错误\r\n->上传失败\r\n"));
    EXPECT_FALSE(QFile::exists(dest));
}

TEST_F(Upload, AbsentFileOrSilence) {
    const QString dest = platform.dir.filePath("R-IRAC.AC");
    transfer->uploadFile(FileType::AirConIr, dest, log);
    EXPECT_EQ(log.text(), "->准备上传\r\n->读取信息\r\n->数据不存在！！\r\n->上传失败\r\n");
    log.clear();
    sim->faults().dropCodes = {0xD3};
    transfer->uploadFile(FileType::AirConIr, dest, log);
    EXPECT_EQ(log.text(), "->准备上传\r\n->读取信息\r\n->读取失败\r\n->上传失败\r\n");
    EXPECT_FALSE(QFile::exists(dest));
}

TEST_F(Upload, LostBlockReplyIsAHandshakeFailure) {
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", sampleFile(2000, 11)), log);
    log.clear();
    sim->faults().dropCodes = {0xD4};
    const QString dest = platform.dir.filePath("R-S7420.K74");
    transfer->uploadFile(FileType::Show, dest, log);
    EXPECT_TRUE(log.text().endsWith("->握手失败\r\n->上传失败\r\n"));
    EXPECT_FALSE(QFile::exists(dest));
}

// A Controller stand-in that answers every command with one fixed reply body.
class ScriptedController {
  public:
    explicit ScriptedController(QByteArray replyBody) : m_reply(std::move(replyBody)) {
        EXPECT_TRUE(m_socket.bind(QHostAddress::LocalHost, 0));
        QObject::connect(&m_socket, &QUdpSocket::readyRead, [this] {
            while (m_socket.hasPendingDatagrams()) {
                const QNetworkDatagram d = m_socket.receiveDatagram();
                m_socket.writeDatagram(QByteArray("K7420\xCC\x51") + m_reply, d.senderAddress(),
                                       static_cast<quint16>(d.senderPort()));
            }
        });
    }
    int port() const { return m_socket.localPort(); }

  private:
    QUdpSocket m_socket;
    QByteArray m_reply;
};

TEST(UploadScripted, ImplausibleAnswersWriteNothing) {
    TransferPlatform platform;
    const QString dest = platform.dir.filePath("R-QB.KQB");
    const struct {
        const char* reply;
        QString ending;
    } cases[] = {
        {"D3"
         "02"
         "01"
         "00000000"
         "C0000000",
         "->数据错误\r\n->上传失败\r\n"},  // 3 GB
        {"D3"
         "02"
         "01"
         "FFFFFF00"
         "00000200",
         "->数据错误\r\n->上传失败\r\n"},  // past 4 GB
        {"D3"
         "03"
         "01"
         "00000000"
         "00000010",
         "->数据不存在！！\r\n->上传失败\r\n"},  // other type
        {"D3"
         "02"
         "00"
         "00000000"
         "00000010",
         "->数据不存在！！\r\n->上传失败\r\n"},  // absent
        {"D3"
         "02"
         "01"
         "00000000"
         "000000",
         "->数据不存在！！\r\n->上传失败\r\n"},  // short
        {"D4"
         "02"
         "01"
         "00000000"
         "00000010",
         "->数据错误\r\n->上传失败\r\n"},  // 10 bytes, not 16
    };
    for (const auto& c : cases) {
        ScriptedController controller(hex(c.reply));
        ControllerLink link(TransferFixture::loopbackConfig(controller.port()),
                            {platform, platform}, platform);
        FileTransfer transfer(link);
        TextLog log;
        transfer.uploadFile(FileType::WallPanel, dest, log);
        EXPECT_TRUE(log.text().endsWith(c.ending)) << c.reply << ": " << log.text().toStdString();
        EXPECT_FALSE(QFile::exists(dest));
    }
}

TEST_F(Download, NotConnectedIsReportedAndClearsTheLog) {
    log.append("old");
    EXPECT_FALSE(transfer->checkConnectedForTransfer(log));
    EXPECT_EQ(log.text(), "未连接");
    connectLink();
    log.append("old");
    EXPECT_TRUE(transfer->checkConnectedForTransfer(log));
    EXPECT_EQ(log.text(), "");
}

}  // namespace
}  // namespace kx::test
