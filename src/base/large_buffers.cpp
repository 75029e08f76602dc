#include "base/large_buffers.h"

#include <QtGlobal>
#include <cstdlib>
#include <new>

#ifdef Q_OS_LINUX
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kx {

namespace {

#ifdef Q_OS_LINUX
constexpr std::size_t kHugePage = 2 * 1024 * 1024;

// Asks for huge pages behind the whole huge pages inside a fresh allocation not yet written.
void adviseHugePages(void* data, std::size_t size) {
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t start = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    const std::uintptr_t end = (first + size) & ~std::uintptr_t{kHugePage - 1};
    // Refused where huge pages are off: the memory then fills a page at a time, as any other.
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
#endif

std::shared_ptr<std::uint8_t> fromHeap(std::size_t size) {
    auto* p = static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
    if (p == nullptr) throw std::bad_alloc();
    return {p, [](std::uint8_t* q) { std::free(q); }};
}

}  // namespace

#ifdef Q_OS_LINUX
void tuneAllocator() {
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
}

std::shared_ptr<std::uint8_t> zeroedBlock(std::size_t size) {
    if (size < kHugePage) return fromHeap(size);
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t length = (size + page - 1) / page * page;
    // Mapped with a huge page's room to spare, then cut to start on a huge-page boundary.
    const std::size_t span = length + kHugePage;
    void* base = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return fromHeap(size);
    const auto first = reinterpret_cast<std::uintptr_t>(base);
    const std::uintptr_t start = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    const std::size_t head = start - first;
    if (head > 0) ::munmap(base, head);
    if (span - head > length)
        ::munmap(reinterpret_cast<void*>(start + length), span - head - length);
    auto* block = reinterpret_cast<std::uint8_t*>(start);
    adviseHugePages(block, size);
    return {block, [length](std::uint8_t* p) { ::munmap(p, length); }};
}

QByteArray uninitializedBytes(qsizetype size) {
    if (size < static_cast<qsizetype>(kHugePage)) return QByteArray(size, Qt::Uninitialized);
    // A huge page more than asked for, to find a boundary in; the bytes before it are dropped
    // from the front, which moves where the array starts, not its bytes, and leaves them
    // unwritten. A last part of a huge page stays on small pages: nothing resident is wasted.
    QByteArray bytes(size + static_cast<qsizetype>(kHugePage), Qt::Uninitialized);
    const auto first = reinterpret_cast<std::uintptr_t>(bytes.constData());
    const std::uintptr_t start = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    bytes.remove(0, static_cast<qsizetype>(start - first));
    bytes.truncate(size);
    adviseHugePages(bytes.data(), static_cast<std::size_t>(size));
    return bytes;
}
#else
void tuneAllocator() {}

std::shared_ptr<std::uint8_t> zeroedBlock(std::size_t size) {
    return fromHeap(size);
}

QByteArray uninitializedBytes(qsizetype size) {
    return QByteArray(size, Qt::Uninitialized);
}
#endif

}  // namespace kx
