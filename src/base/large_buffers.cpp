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

std::shared_ptr<std::uint8_t> fromHeap(std::size_t size) {
    auto* p = static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
    if (p == nullptr) throw std::bad_alloc();
    return {p, [](std::uint8_t* q) { std::free(q); }};
}

}  // namespace

#ifdef Q_OS_LINUX
constexpr std::size_t kHugePage = 2 * 1024 * 1024;

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

void adviseHugePages(void* data, std::size_t size) {
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t start = (first + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    const std::uintptr_t end = (first + size) & ~std::uintptr_t{kHugePage - 1};
    // Refused where huge pages are off: the memory then fills a page at a time, as any other.
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
#else
void tuneAllocator() {}

std::shared_ptr<std::uint8_t> zeroedBlock(std::size_t size) {
    return fromHeap(size);
}

void adviseHugePages(void*, std::size_t) {}
#endif

}  // namespace kx
