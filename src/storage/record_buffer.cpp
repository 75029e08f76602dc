#include "storage/record_buffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "base/large_buffers.h"

namespace kx {

RecordBuffer::RecordBuffer(int capacity)
    : m_block(zeroedBlock(static_cast<std::size_t>(std::max(capacity, 0)))),
      m_data(m_block.get()),
      m_size(std::max(capacity, 0)) {}

RecordBuffer RecordBuffer::fromBytes(const QByteArray& bytes) {
    RecordBuffer b;
    b.m_store = bytes;
    b.m_data = reinterpret_cast<const std::uint8_t*>(b.m_store.constData());
    b.m_size = static_cast<int>(std::min<qsizetype>(bytes.size(), std::numeric_limits<int>::max()));
    b.m_shared = true;
    return b;
}

RecordBuffer::RecordBuffer(const RecordBuffer& other)
    : m_store(other.m_store),
      m_block(other.m_block),
      m_data(other.m_data),
      m_size(other.m_size),
      m_shared(true),
      m_failed(other.m_failed) {}

RecordBuffer& RecordBuffer::operator=(const RecordBuffer& other) {
    if (this != &other) *this = RecordBuffer(other);
    return *this;
}

// Neither a QByteArray nor a block moves its bytes when it moves, so the pointer stays good.
RecordBuffer::RecordBuffer(RecordBuffer&& other) noexcept
    : m_store(std::move(other.m_store)),
      m_block(std::move(other.m_block)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_shared(other.m_shared),
      m_failed(other.m_failed) {}

RecordBuffer& RecordBuffer::operator=(RecordBuffer&& other) noexcept {
    m_store = std::move(other.m_store);
    m_block = std::move(other.m_block);
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_shared = other.m_shared;
    m_failed = other.m_failed;
    return *this;
}

void RecordBuffer::own() {
    if (!m_block) {
        m_store.detach();
        m_data = reinterpret_cast<const std::uint8_t*>(m_store.constData());
    } else if (m_block.use_count() > 1) {
        auto block = zeroedBlock(static_cast<std::size_t>(m_size));
        if (m_size > 0) std::memcpy(block.get(), m_data, static_cast<std::size_t>(m_size));
        m_block = std::move(block);
        m_data = m_block.get();
    }
    m_shared = false;
}

QByteArray RecordBuffer::bytes(int n) const {
    const int count = std::clamp(n, 0, m_size);
    return QByteArray(reinterpret_cast<const char*>(m_data), count);
}

QByteArray RecordBuffer::part(int position, int count) const {
    const int from = std::clamp(position, 0, m_size);
    const int n = std::clamp(count, 0, m_size - from);
    QByteArray whole = m_store;
    // Bytes the buffer owns, or another's raw bytes that may go before the part would: copied.
    if (m_block || whole.data_ptr().d == nullptr)
        return QByteArray(reinterpret_cast<const char*>(m_data) + from, n);
    // One more owner of the store's memory, looking at part of it: what QByteArray itself does
    // when bytes are removed from its front. Any write to the part copies it first while the
    // store or another part still shares the memory.
    QByteArray::DataPointer shared = std::move(whole.data_ptr());
    shared.ptr += from;
    shared.size = n;
    return QByteArray(std::move(shared));
}

}  // namespace kx
