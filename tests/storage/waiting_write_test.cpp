#include <gtest/gtest.h>

#include "base/file_io.h"
#include "storage/waiting_write.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

class WaitingWriteTest : public test::FakePlatformTest {};

// The write runs beside the wait: what it reports must be what happened on the disk, and a file
// it replaces is never left half-written.
TEST_F(WaitingWriteTest, ReplacesTheFileWholeOrReportsThatItCouldNot) {
    const Waiter waiter{fake, fake};
    const QString path = fake.dir.filePath("show.bin");
    QByteArray large(3 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(writeWholeFile(path, "old"));

    EXPECT_TRUE(writeWholeFileWaiting(waiter, path, large));
    EXPECT_EQ(readWholeFile(path), large);

    EXPECT_FALSE(writeWholeFileWaiting(waiter, fake.dir.filePath("missing/show.bin"), large));
    EXPECT_FALSE(writeWholeFileWaiting(waiter, QString(), large));
    EXPECT_EQ(readWholeFile(path), large);
}

}  // namespace
}  // namespace kx
