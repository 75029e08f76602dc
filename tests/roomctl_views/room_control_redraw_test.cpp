#include <gtest/gtest.h>

#include <QTest>

#include "base/edit_history.h"
#include "roomctl/room_control_view.h"
#include "shell/appearance_view.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "support/fake_platform.h"
#include "support/typing.h"
#include "support/view_snapshot.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// Every kind of store of the room control editor, a learnt code, undo and redo, each followed by
// a comparison with a view entered afresh on the same record (its focus on the same key): a
// control left undrawn fails the comparison.
class RoomControlRedrawTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        show.scenes.at(3).name = "生日";
        view = makeView();
        view->editor().setHistory(&history, [] {});
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    std::unique_ptr<RoomControlView> makeView() {
        RoomControlLink link;
        link.connected = [] { return false; };
        link.inFront = [] { return true; };
        link.sendControl = [](std::span<const std::uint8_t>) {};
        link.vjServerChanged = [](std::uint8_t) {};
        return std::make_unique<RoomControlView>(
            show.room, show.thresholds, show.scenes,
            RoomControlView::Services{appearance,
                                      {fake, fake},
                                      file,
                                      std::move(link),
                                      [](QWidget* v) { v->show(); },
                                      [] {},
                                      [] {}});
    }

    void expectSameAsFresh(const char* after) {
        auto fresh = makeView();
        fresh->resize(view->size());
        fresh->Fun_窗体载入();
        if (const int key = view->editor().state().focusedKey; key != 0)
            fresh->editor().focusKey(key);
        EXPECT_EQ(
            test::viewDifferences(test::snapshotView(fresh.get()), test::snapshotView(view.get())),
            "")
            << "after " << after;
    }

    void choose(RoomList l, int index) {
        QComboBox* c = view->list(l);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }

    Appearance appearance;
    AppPaths paths = AppPaths::under(fake.programDir());
    Show show;
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {fake, fake}, {{}, {}, {}});
    EditHistory history;
    std::unique_ptr<RoomControlView> view;
};

TEST_F(RoomControlRedrawTest, EveryStoreUndoAndRedoDrawsWhatAFreshViewDraws) {
    expectSameAsFresh("entering");
    for (const RoomList l :
         {RoomList::StartupScene, RoomList::AirCon, RoomList::VjServer, RoomList::XyDefaultLimit}) {
        choose(l, 2);
        expectSameAsFresh("a list entry");
    }
    for (int i : {0, 4, 9}) {
        view->check(i)->click();
        expectSameAsFresh("a switch");
    }
    view->relayOption(2)->click();
    expectSameAsFresh("the relay source");

    QLineEdit* box = view->codeBox(3);
    box->setFocus();
    expectSameAsFresh("a focused code box");
    // Typed as the box shows a stored code, so that both views show the same text.
    test::retype(box, "00 FF 12 ED ");
    expectSameAsFresh("a typed code");
    // The Controller's NEC report (0xCE 0x50 0x66) with the four code bytes.
    const std::array<std::uint8_t, 6> nec{kNecReceive, 0x66, 0x11, 0x22, 0x33, 0x44};
    view->Fun_效果器红外接收码值(0xCE, nec);
    EXPECT_EQ(show.room.effectorCodes[2][0], 0x11);
    expectSameAsFresh("a reply to the focused key");
    view->codeBox(5)->setFocus();
    expectSameAsFresh("another focused key");

    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(history.undo().done);
        expectSameAsFresh("an undo");
    }
    ASSERT_TRUE(history.redo().done);
    expectSameAsFresh("a redo");
}

}  // namespace
}  // namespace kx
