#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kx {

// The working buffers of a save, a load or an image build are megabytes each, made, filled and
// dropped within the operation. Filled a 4 KiB page at a time they cost a page fault a page,
// which on a virtual machine adds milliseconds to every such buffer; backed by huge pages where
// the system allows them, a few faults fill one.

// The allocator's settings for the whole process, set first thing in main. Left to itself the
// allocator raises its threshold after the first large buffer is freed and keeps the next ones
// in each thread's heap, so the resident memory of a long session climbs in steps of a buffer;
// with a fixed threshold every buffer of a megabyte or more is given back when it goes.
void tuneAllocator();

// Zeroed memory of size bytes; one of megabytes is mapped on its own, starting on a huge-page
// boundary and asking for huge pages, and is given back whole when its last owner lets go.
// Throws std::bad_alloc.
std::shared_ptr<std::uint8_t> zeroedBlock(std::size_t size);

// size bytes, not yet written, to be read into: bytes of megabytes start on a huge-page boundary
// and ask for huge pages, so a file read into them costs a few faults, not one a page.
QByteArray uninitializedBytes(qsizetype size);

}  // namespace kx
