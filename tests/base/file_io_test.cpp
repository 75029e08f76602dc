#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>

#include "base/file_io.h"

namespace kx {
namespace {

QByteArray pattern(qsizetype size, char seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 31);
    return bytes;
}

qsizetype openDescriptors() {
    return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

// The replaced file of megabytes is given back after the write returns: the new bytes are there
// at once, and the old file's descriptor does not stay behind.
TEST(WholeFile, ALargeFileReplacedReadsBackNewAndLeavesNoDescriptor) {
    QTemporaryDir dir;
    const QString path = dir.filePath("S7420.K74");
    const QByteArray first = pattern(3 * 1024 * 1024, 1);
    const QByteArray second = pattern(2 * 1024 * 1024 + 5, 2);
    ASSERT_TRUE(writeWholeFile(path, first));
    const qsizetype before = openDescriptors();
    ASSERT_TRUE(writeWholeFile(path, second));
    EXPECT_EQ(readWholeFile(path), second);
    ASSERT_TRUE(writeWholeFile(path, QByteArray("small")));
    EXPECT_EQ(readWholeFile(path), QByteArray("small"));
    if (QDir("/proc/self/fd").exists()) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (openDescriptors() > before && std::chrono::steady_clock::now() < until)
            QThread::msleep(5);
        EXPECT_EQ(openDescriptors(), before);
    }
    // Nothing else is left in the folder: no temporary file, no second name.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"S7420.K74"});
    // A folder that is not there: nothing written, nothing replaced.
    EXPECT_FALSE(writeWholeFile(dir.filePath("missing/S7420.K74"), second));
}

// Read at its size, or to its end where the system gives no size (the files under /proc).
TEST(WholeFile, ReadsEmptyMissingAndUnsizedFiles) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty");
    ASSERT_TRUE(writeWholeFile(empty, {}));
    EXPECT_EQ(readWholeFile(empty), QByteArray());
    EXPECT_EQ(readWholeFile(dir.filePath("missing")), std::nullopt);
    EXPECT_EQ(readWholeFile(dir.path()), std::nullopt);
    if (QFile::exists("/proc/self/status")) {
        const auto status = readWholeFile("/proc/self/status");
        ASSERT_TRUE(status.has_value());
        EXPECT_TRUE(status->startsWith("Name:"));
    }
}

}  // namespace
}  // namespace kx
