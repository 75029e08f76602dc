#include <gtest/gtest.h>

#include <QtGlobal>
#include <algorithm>
#include <cstdint>

#include "base/large_buffers.h"

namespace kx {
namespace {

// Every size comes zeroed and writable to its last byte; one of megabytes starts on a huge-page
// boundary, or huge pages could never back it.
TEST(ZeroedBlock, EverySizeIsZeroedWritableAndLargeOnesStartOnAHugePage) {
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{4097}, std::size_t{2} << 20,
          (std::size_t{2} << 20) + (std::size_t{3} << 19), (std::size_t{4} << 20) + 1}) {
        const auto block = zeroedBlock(size);
        ASSERT_NE(block.get(), nullptr) << size;
        EXPECT_TRUE(std::all_of(block.get(), block.get() + size, [](std::uint8_t b) {
            return b == 0;
        })) << size;
        if (size == 0) continue;
        block.get()[0] = 1;
        block.get()[size - 1] = 2;
#ifdef Q_OS_LINUX
        if (size >= (std::size_t{2} << 20)) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % (std::uintptr_t{2} << 20),
                      0u);
        }
#endif
    }
}

// Bytes to read into: exactly the size asked for, writable to the last, a large buffer starting on
// a huge page; a copy written to goes apart from it and it still grows as any array.
TEST(UninitializedBytes, HaveTheSizeAskedForAndLargeOnesStartOnAHugePage) {
    for (const qsizetype size :
         {qsizetype{0}, qsizetype{1}, (qsizetype{2} << 20) - 1, qsizetype{2} << 20,
          (qsizetype{2} << 20) + (qsizetype{3} << 19), (qsizetype{4} << 20) + 3}) {
        QByteArray bytes = uninitializedBytes(size);
        ASSERT_EQ(bytes.size(), size);
        if (size == 0) continue;
        bytes.fill('a');
        QByteArray copy = bytes;
        copy[size - 1] = 'b';
        EXPECT_EQ(bytes.at(size - 1), 'a');
        bytes.append('c');
        EXPECT_EQ(bytes.size(), size + 1);
        EXPECT_EQ(bytes.front(), 'a');
        EXPECT_EQ(bytes.back(), 'c');
#ifdef Q_OS_LINUX
        if (size >= (qsizetype{2} << 20)) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(uninitializedBytes(size).constData()) %
                          (std::uintptr_t{2} << 20),
                      0u);
        }
#endif
    }
}

}  // namespace
}  // namespace kx
