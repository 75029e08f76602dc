#include "base/large_buffers.h"

#include <QtGlobal>
#include <algorithm>
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

// The bytes of a buffer of size that huge pages back: the whole huge pages in it, and a last part
// of one when it is a quarter of a huge page or more. Filling a huge page costs about what a
// hundred small-page faults do on a virtual machine, so a shorter last part stays on small pages
// and a longer one is cheaper whole, the rest of it resident but unused while the buffer lives.
std::size_t hugeBacked(std::size_t size) {
    const std::size_t whole = size / kHugePage * kHugePage;
    return size - whole >= kHugePage / 4 ? whole + kHugePage : whole;
}

// Asks for huge pages behind the first length bytes of a fresh allocation not yet written, which
// starts on a huge-page boundary.
void adviseHugePages(void* data, std::size_t length) {
    // Refused where huge pages are off: the memory then fills a page at a time, as any other.
    if (length > 0) ::madvise(data, length, MADV_HUGEPAGE);
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
    const std::size_t backed = hugeBacked(size);
    const std::size_t length = (std::max(size, backed) + page - 1) / page * page;
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
    adviseHugePages(block, backed);
    return {block, [length](std::uint8_t* p) { ::munmap(p, length); }};
}

QByteArray uninitializedBytes(qsizetype size) {
    if (size < static_cast<qsizetype>(kHugePage)) return QByteArray(size, Qt::Uninitialized);
    // A huge page more than the huge-page part needs, to find a boundary in; the bytes before it
    // are dropped from the front, which moves where the array starts, not its bytes, and leaves
    // them unwritten.
    const std::size_t backed = hugeBacked(static_cast<std::size_t>(size));
    const qsizetype room = std::max(size, static_cast<qsizetype>(backed));
    QByteArray bytes(room + static_cast<qsizetype>(kHugePage), Qt::Uninitialized);
    const auto first = reinterpret_cast<std::uintptr_t>(bytes.constData());
    const std::uintptr_t start = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    bytes.remove(0, static_cast<qsizetype>(start - first));
    // Asked before the array writes its closing zero at the new end: a page written first would
    // keep that huge page's range on small pages.
    adviseHugePages(bytes.data(), backed);
    bytes.truncate(size);
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
