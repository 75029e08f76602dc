#include <gtest/gtest.h>

#include <functional>

#include "base/file_io.h"
#include "fixtures/fixture_editor.h"
#include "fixtures/fixture_files.h"
#include "materials/memory_images.h"
#include "roomctl/room_control_editor.h"
#include "show/show.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// The Fixture Library and Room Control editors on one show, recording into one history: each
// edit undone gives back the whole Show File byte for byte, and redone the edited one.
class LibraryRoomUndoTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        library.enter();
        library.setHistory(&history, [this] { ++reveals; });
        room.setHistory(&history, [this] { ++reveals; });
        Fixture& f = show.library.at(0, 4);
        f.name = QStringLiteral("摇头灯");
        f.startAddress = 30;
        f.channelCount = 6;
        f.testValues = {1, 2, 3, 4, 5, 6};
        library.chooseFixture(4);
    }

    QByteArray save() {
        const ShowBuild build = buildShowFile(showSections(show, images, staged), stamp);
        EXPECT_TRUE(build.bytes);
        return build.bytes.value_or(QByteArray());
    }

    // Edit, undo, redo: the bytes before and after each time, and one entry more.
    void roundTrip(const char* what, const std::function<void()>& edit) {
        SCOPED_TRACE(what);
        const int entries = history.entryCount();
        const QByteArray before = save();
        edit();
        history.seal();
        const QByteArray after = save();
        ASSERT_NE(after, before);
        ASSERT_EQ(history.entryCount(), entries + 1);
        ASSERT_TRUE(history.undo().done);
        EXPECT_EQ(save(), before);
        ASSERT_TRUE(history.redo().done);
        EXPECT_EQ(save(), after);
    }

    Show show;
    test::MemoryImages images;
    StagedEffectImages staged;
    const QString stamp = QStringLiteral("2026/12/9 14:00:00 C:\\KX7420");
    AppPaths paths = AppPaths::under(fake.programDir());
    EditHistory history;
    int reveals = 0;
    std::vector<std::uint8_t> servers;
    FixtureEditor library{show.library, show.groups, show.functionNames, paths};
    RoomControlEditor room{
        show.room, show.thresholds, show.scenes,
        RoomControlLink{{}, {}, {}, [this](std::uint8_t s) { servers.push_back(s); }}};
};

TEST_F(LibraryRoomUndoTest, EveryLibraryStoreIsTakenBackWholly) {
    roundTrip("name", [this] { library.setName(QStringLiteral("光束灯")); });
    roundTrip("address", [this] { library.stepStartAddress(20); });
    roundTrip("channels", [this] { library.typeChannelCount("12"); });
    roundTrip("port", [this] { library.setPort(3); });
    roundTrip("value", [this] { library.setChannelValue(2, 200); });
    roundTrip("all 255", [this] { library.setAllTestValues(255); });
    roundTrip("function", [this] {
        library.pressFunctionBox(3);
        library.pickCode(17);
    });
    fake.yesNoAnswers = {true};
    roundTrip("delete", [this] { library.deleteCurrent(fake); });
    // Another page: the restore makes it current again.
    library.choosePage(1);
    library.chooseFixture(9);
    roundTrip("page 2", [this] { library.setName(QStringLiteral("页2灯")); });
    library.choosePage(0);
    library.chooseFixture(1);
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(library.state().preview.currentPage, 1);
    EXPECT_EQ(library.state().preview.currentFixture, 9);
    EXPECT_GT(reveals, 0);
}

TEST_F(LibraryRoomUndoTest, EveryRoomControlStoreIsTakenBackWholly) {
    roundTrip("list", [this] { room.chooseEntry(RoomList::StartupScene, 5); });
    roundTrip("threshold", [this] { room.chooseEntry(RoomList::XyDefaultLimit, 40); });
    roundTrip("check", [this] { room.setCheck(1, false); });
    roundTrip("relay", [this] { room.chooseRelaySource(2); });
    roundTrip("typed code", [this] { room.typeEffectorCode(3, "A1B2C3D4"); });
    room.focusKey(6);
    const std::uint8_t report[] = {0x50, 0x66, 1, 2, 3, 4};
    roundTrip("learnt code", [&] { room.receiveReply(0xCE, report); });

    // The frames follow the VJ server put back, as when it is chosen.
    servers.clear();
    roundTrip("vj server", [this] { room.chooseEntry(RoomList::VjServer, 2); });
    EXPECT_EQ(servers, (std::vector<std::uint8_t>{2, 0, 2}));
}

TEST_F(LibraryRoomUndoTest, ImportAllIsOneEntryAndAFailedOneNone) {
    const QString file = fake.dir.filePath("all.K_ADK");
    FixtureLibrary other;
    other.at(1, 50).name = QStringLiteral("导入灯");
    other.at(1, 50).channelCount = 3;
    other.at(1, 50).startAddress = 7;
    ASSERT_TRUE(writeWholeFile(file, allFixturesBytes(other)));
    const FileDialogs dialogs{fake, fake};
    fake.dialogAnswers = {file};
    roundTrip("import all", [&] { ASSERT_TRUE(library.importAll(dialogs).done); });

    // A cancelled or damaged import changes nothing and leaves no entry.
    const int entries = history.entryCount();
    EXPECT_FALSE(library.importAll(dialogs).done);
    ASSERT_TRUE(writeWholeFile(file, QByteArray("damaged")));
    fake.dialogAnswers = {file};
    EXPECT_FALSE(library.importAll(dialogs).done);
    EXPECT_EQ(history.entryCount(), entries);
}

}  // namespace
}  // namespace kx
