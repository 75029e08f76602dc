#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <csignal>

#include "base/file_io.h"
#include "cli/room_download.h"
#include "cli/room_list.h"
#include "show_maker.h"
#include "sim_fleet.h"

namespace kx::test {
namespace {

// A show of about 300 KB: the fixed content and one long Material.
QByteArray largeShow() {
    ShowMaker maker;
    Material& m = maker.show->materials.at(2, 1);
    m.setFixtureCount(40);
    m.setChannelCount(32);
    m.setStepCount(250);
    for (int step = 1; step <= 250; ++step) {
        for (int vf = 1; vf <= 40; ++vf)
            m.setValue(step, vf, 1 + (step + vf) % 32, (step * 7 + vf * 13) % 256);
    }
    return maker.bytes();
}

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

CliRun runCliProcess(const QStringList& args, int timeoutMs = 120000) {
    QProcess p;
    p.start(QStringLiteral(KX_CLI_PATH), args);
    p.waitForFinished(timeoutMs);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

int countOf(const QString& text, const QString& what) {
    return static_cast<int>(text.count(what));
}

TEST(CliDownload, EightRoomsOnLoopback) {
    SimFleet fleet;
    std::vector<QStringList> options(8);
    options[6] = {"--drop-block-share", "0.05", "--seed", "26"};
    options[7] = {"--fail-verify"};
    ASSERT_TRUE(fleet.start(options));

    const QByteArray show = largeShow();
    ASSERT_GT(show.size(), 200 * 1024);
    const QString showPath = fleet.dir.filePath("show.K74");
    ASSERT_TRUE(writeWholeFile(showPath, show));
    QString rooms = "# the second floor\n";
    for (std::size_t i = 0; i < fleet.sims.size(); ++i) {
        rooms += QStringLiteral("%1 %2:%3   # room %4\n")
                     .arg(101 + static_cast<int>(i))
                     .arg(fleet.sims[i].address)
                     .arg(fleet.sims[i].port)
                     .arg(i + 1);
    }
    const QString roomsPath = fleet.dir.filePath("rooms.txt");
    ASSERT_TRUE(writeWholeFile(roomsPath, rooms.toUtf8()));

    const CliRun run =
        runCliProcess({"download", showPath, "--rooms", roomsPath, "--parallel", "8"});
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    for (int room = 101; room <= 107; ++room) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1  ->下载成功  \\d+\\.\\d s$").arg(room),
                                       QRegularExpression::MultilineOption)
                        .match(run.out)
                        .hasMatch())
            << room << "\n"
            << run.out.toStdString();
    }
    EXPECT_TRUE(run.out.contains("108  ->校验失败")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("8 rooms: 7 verified, 1 failed (108)")) << run.out.toStdString();

    for (std::size_t i = 0; i < fleet.sims.size(); ++i) {
        const QString log = SimFleet::logOf(fleet.sims[i]);
        // Every Controller was released: three disconnects after each try.
        EXPECT_GE(countOf(log, "disconnect"), 3) << i;
        if (i < 7) {
            EXPECT_EQ(SimFleet::stored(fleet.sims[i]), show) << i;
        }
    }
    const QString dropping = SimFleet::logOf(fleet.sims[6]);
    EXPECT_GT(countOf(dropping, "(dropped)"), 0);
    EXPECT_GT(countOf(dropping, "download status"), 0);  // recovered by the status queries
    // The failing room was tried twice, and never heard of any other room's datagrams.
    const QString failing = SimFleet::logOf(fleet.sims[7]);
    EXPECT_EQ(countOf(failing, "download verify"), 2);
    EXPECT_EQ(countOf(failing, "  connect "), 2);
}

TEST(CliDownload, BadRoomsAreRefusedBeforeAnythingIsSent) {
    SimFleet fleet;
    ASSERT_TRUE(fleet.start({{}}));
    const QString showPath = fleet.dir.filePath("show.K74");
    ASSERT_TRUE(writeWholeFile(showPath, ShowMaker().bytes()));
    const QString target = fleet.sims[0].address + ":" + QString::number(fleet.sims[0].port);
    const auto rooms = [&](const QString& text) {
        const QString path = fleet.dir.filePath("rooms.txt");
        EXPECT_TRUE(writeWholeFile(path, text.toUtf8()));
        return runCliProcess({"download", showPath, "--rooms", path});
    };

    CliRun r = rooms("101 " + target + "\n102 10.0.0.300\n");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("line 2: \"10.0.0.300\" is not an IPv4 address or host name"))
        << r.err.toStdString();
    r = rooms("101 " + target + "\n\n# x\n102 " + target + "\n");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("102: " + target + " is already another room's Controller"));
    r = rooms("101 " + target + " extra\n");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("line 1:"));
    EXPECT_EQ(runCliProcess({"download", showPath, "--to", "[::1]:51800"}).code, 2);
    EXPECT_EQ(runCliProcess({"download", showPath}).code, 2);
    EXPECT_EQ(runCliProcess({"download", showPath, "--to", target, "--parallel", "0"}).code, 2);
    EXPECT_FALSE(SimFleet::logOf(fleet.sims[0]).contains("<-"));  // nothing ever arrived

    // A silent room ends with a failed handshake; the other one is downloaded.
    r = runCliProcess({"download", showPath, "--to", target, "--to", "127.0.0.99:9"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QRegularExpression(target + " +->下载成功"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression("127.0.0.99:9 +->握手失败")))
        << r.out.toStdString();
}

TEST(CliDownload, InterruptReleasesTheConnectedControllers) {
    SimFleet fleet;
    ASSERT_TRUE(fleet.start({{"--delay-ms", "3"}, {"--delay-ms", "3"}, {}}));
    const QString showPath = fleet.dir.filePath("show.K74");
    ASSERT_TRUE(writeWholeFile(showPath, largeShow()));
    QProcess p;
    QStringList args{"download", showPath, "--parallel", "2"};
    for (const auto& s : fleet.sims)
        args << "--to" << s.address + ":" + QString::number(s.port);
    p.start(QStringLiteral(KX_CLI_PATH), args);
    ASSERT_TRUE(SimFleet::waitForLog(fleet.sims[0], "download block"));
    ASSERT_TRUE(SimFleet::waitForLog(fleet.sims[1], "download block"));
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(out.contains("->下载中断")) << out.toStdString();
    EXPECT_TRUE(out.contains("not started: " + fleet.sims[2].address)) << out.toStdString();
    for (int i = 0; i < 2; ++i) {
        const QString log = SimFleet::logOf(fleet.sims[static_cast<std::size_t>(i)]);
        EXPECT_EQ(countOf(log, "disconnect"), 3) << i;
        EXPECT_EQ(countOf(log, "download verify"), 0) << i;
    }
    EXPECT_FALSE(SimFleet::logOf(fleet.sims[2]).contains("<-"));
}

TEST(RoomList, HostsAndLines) {
    EXPECT_TRUE(isIPv4Text("127.0.0.2"));
    EXPECT_FALSE(isIPv4Text("127.0.0"));
    EXPECT_FALSE(isIPv4Text("1.2.3.256"));
    EXPECT_TRUE(isHostNameText("room-101.karaoke.lan"));
    EXPECT_FALSE(isHostNameText("-room"));
    EXPECT_FALSE(isHostNameText("room_1"));
    EXPECT_FALSE(isHostNameText("127.1"));
    EXPECT_FALSE(isHostNameText("::1"));
    EXPECT_EQ(parseRoomTarget("", "localhost").room->port, kDefaultControllerPort);
    EXPECT_FALSE(parseRoomTarget("", "127.0.0.2:0").room);
    EXPECT_FALSE(parseRoomTarget("", "127.0.0.2:x").room);
    const auto parsed = parseRoomsFile("a 127.0.0.2\n b  localhost:7000 # ok\n");
    ASSERT_EQ(parsed.rooms.size(), 2u);
    EXPECT_EQ(parsed.rooms[1].name, "b");
    EXPECT_EQ(parsed.rooms[1].port, 7000);
    EXPECT_EQ(parseRoomsFile("# nothing\n").error, "no rooms");
    std::vector<Room> rooms = parsed.rooms;
    EXPECT_EQ(resolveRooms(rooms), "");
    // Broadcast, multicast and "this network" are refused where the list is made, so a download
    // never begins (checked here, without a process that could send).
    for (const QHostAddress& refused :
         {QHostAddress(QHostAddress::Broadcast), QHostAddress("224.0.0.1"),
          QHostAddress(QHostAddress::AnyIPv4)}) {
        const QString text = refused.toString();
        EXPECT_TRUE(isRefusedAddress(refused)) << text.toStdString();
        std::vector<Room> one{*parseRoomTarget("r", text).room};
        EXPECT_NE(resolveRooms(one), "") << text.toStdString();
    }
    EXPECT_EQ(rooms[1].address, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(lastLogMessage("->握手成功\r\n>>>X>\r\n\r\n->校验中...\r\n->校验失败\r\n"),
              "->校验失败");
    EXPECT_EQ(lastLogMessage(">>>>->握手失败\r\n"), "->握手失败");
}

}  // namespace
}  // namespace kx::test
