#include <gtest/gtest.h>

#include <vector>

#include "base/table_edit.h"

namespace kx {

namespace {

// A table with storage of its own, as the show's tables are.
struct Table : std::vector<int> {
    using std::vector<int>::vector;
};

std::size_t snapshotBytes(const Table& t) {
    return t.size() * sizeof(int);
}

// A tiny editor of one table, recording every store as the real editors do.
struct Editor {
    EditHistory& history;
    Table table = Table(4, 0);
    bool refuseRestore = false;
    int restores = 0;

    TableEdit<Table> edit(const QString& what, const QString& key = {}) {
        return {&history, table, "表", what, key, [this](const Table& t) {
                    if (refuseRestore) return Outcome::refused("不能切换");
                    table = t;
                    ++restores;
                    // A restore that goes through a store must not record.
                    set(0, table[0]);
                    return Outcome::success();
                }};
    }
    void set(int i, int v, const QString& key = {}) {
        const auto e = edit(QString("值 %1").arg(i), key);
        table[i] = v;
    }
};

}  // namespace

TEST(EditHistory, UndoRedoWalkTheEditsInOrderAndNewEditsDropTheRedoTail) {
    EditHistory h;
    Editor ed{h};
    EXPECT_FALSE(h.undo().done);  // empty: nothing, no message
    EXPECT_TRUE(h.undo().message.isEmpty());

    ed.set(0, 1);
    h.seal();
    ed.set(1, 2);
    h.seal();
    ed.set(1, 2);  // no change: no entry
    EXPECT_EQ(h.entryCount(), 2);
    EXPECT_EQ(h.undoTip(), "撤销：值 1");
    EXPECT_EQ(h.redoTip(), "重做");

    EXPECT_TRUE(h.undo().done);
    EXPECT_EQ(ed.table, (Table{1, 0, 0, 0}));
    EXPECT_EQ(h.redoTip(), "重做：值 1");
    EXPECT_TRUE(h.undo().done);
    EXPECT_EQ(ed.table, (Table{0, 0, 0, 0}));
    EXPECT_FALSE(h.undo().done);
    EXPECT_TRUE(h.redo().done);
    EXPECT_TRUE(h.redo().done);
    EXPECT_EQ(ed.table, (Table{1, 2, 0, 0}));
    EXPECT_EQ(h.entryCount(), 2);  // the restores' own stores recorded nothing

    h.undo();
    ed.set(3, 9);  // the undone "值 1" is gone
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.entryCount(), 2);
    h.undo();
    h.undo();
    EXPECT_EQ(ed.table, (Table{0, 0, 0, 0}));
}

TEST(EditHistory, ARunWithOneKeyIsOneEntryUntilSealed) {
    EditHistory h;
    Editor ed{h};
    for (int v = 1; v <= 50; ++v)
        ed.set(2, v, "推杆 2");
    EXPECT_EQ(h.entryCount(), 1);
    ed.set(3, 1, "推杆 3");  // another field starts another entry
    EXPECT_EQ(h.entryCount(), 2);
    ed.set(3, 2, "推杆 3");
    h.seal();  // the mouse was let go
    ed.set(3, 3, "推杆 3");
    EXPECT_EQ(h.entryCount(), 3);

    h.undo();
    EXPECT_EQ(ed.table[3], 2);
    h.undo();
    EXPECT_EQ(ed.table[3], 0);
    h.undo();
    EXPECT_EQ(ed.table, (Table{0, 0, 0, 0}));
    h.redo();
    EXPECT_EQ(ed.table[2], 50);
}

TEST(EditHistory, ARefusedRestoreLeavesHistoryAndTableAsTheyWere) {
    EditHistory h;
    Editor ed{h};
    ed.set(0, 5);
    ed.refuseRestore = true;
    const Outcome out = h.undo();
    EXPECT_FALSE(out.done);
    EXPECT_EQ(out.message, "不能切换");
    EXPECT_EQ(ed.table[0], 5);
    EXPECT_TRUE(h.canUndo());
    EXPECT_FALSE(h.canRedo());
    ed.refuseRestore = false;
    EXPECT_TRUE(h.undo().done);
    EXPECT_EQ(ed.table[0], 0);
}

TEST(EditHistory, BoundedByEntriesAndMemoryTheOldestGoingFirst) {
    EditHistory byCount({3, std::size_t{1} << 20});
    Editor a{byCount};
    for (int i = 1; i <= 5; ++i) {
        a.set(0, i);
        byCount.seal();
    }
    EXPECT_EQ(byCount.entryCount(), 3);
    while (byCount.undo().done) {
    }
    EXPECT_EQ(a.table[0], 2);  // 1 and 2 were dropped: undo stops at the oldest kept

    // Each entry holds its after-state; the before-state is shared with the previous entry's
    // after-state, so five entries of a 1000-int table hold six snapshots, not ten.
    EditHistory byBytes({200, 4 * 1000 * sizeof(int)});
    Editor b{byBytes};
    b.table.assign(1000, 0);
    for (int i = 1; i <= 5; ++i) {
        b.set(0, i);
        byBytes.seal();
    }
    EXPECT_EQ(byBytes.entryCount(), 3);
    EXPECT_EQ(byBytes.bytes(), 4 * 1000 * sizeof(int));

    // A single entry above the bound stays: the edit just made can be taken back.
    EditHistory tiny({200, 16});
    Editor c{tiny};
    c.table.assign(1000, 0);
    c.set(0, 1);
    tiny.seal();
    c.set(0, 2);
    EXPECT_EQ(tiny.entryCount(), 1);
    tiny.undo();
    EXPECT_EQ(c.table[0], 1);
}

TEST(EditHistory, ClearForgetsEverythingAndSaysSo) {
    EditHistory h;
    Editor ed{h};
    int changes = 0;
    QObject::connect(&h, &EditHistory::changed, [&] { ++changes; });
    ed.set(0, 1);
    h.undo();
    h.clear();
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.bytes(), 0u);
    ed.set(0, 7);
    EXPECT_EQ(h.entryCount(), 1);
}

TEST(EditHistory, NothingIsRecordedWithoutAHistory) {
    Table t{1, 2};
    {
        TableEdit<Table> e(nullptr, t, "表", "值", {}, [](const Table&) { return Outcome{}; });
        t[0] = 3;
    }
    EXPECT_EQ(t[0], 3);
}

}  // namespace kx
