#include "storage/record_buffer.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace kx {

RecordBuffer::RecordBuffer(int capacity) {
    const int size = std::max(capacity, 0);
    m_store = QByteArray(size, '\0');
    m_data = reinterpret_cast<const std::uint8_t*>(m_store.constData());
    m_size = size;
}

RecordBuffer RecordBuffer::fromBytes(const QByteArray& bytes) {
    RecordBuffer b;
    b.adopt(bytes,
            static_cast<int>(std::min<qsizetype>(bytes.size(), std::numeric_limits<int>::max())));
    return b;
}

RecordBuffer::RecordBuffer(const RecordBuffer& other) : m_failed(other.m_failed) {
    adopt(other.m_store, other.m_size);
}

RecordBuffer& RecordBuffer::operator=(const RecordBuffer& other) {
    if (this != &other) {
        adopt(other.m_store, other.m_size);
        m_failed = other.m_failed;
    }
    return *this;
}

// A QByteArray keeps its bytes where they are when it moves, so the pointer stays good.
RecordBuffer::RecordBuffer(RecordBuffer&& other) noexcept
    : m_store(std::move(other.m_store)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_shared(other.m_shared),
      m_failed(other.m_failed) {}

RecordBuffer& RecordBuffer::operator=(RecordBuffer&& other) noexcept {
    m_store = std::move(other.m_store);
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_shared = other.m_shared;
    m_failed = other.m_failed;
    return *this;
}

void RecordBuffer::adopt(const QByteArray& store, int size) {
    m_store = store;
    m_data = reinterpret_cast<const std::uint8_t*>(m_store.constData());
    m_size = size;
    m_shared = true;
}

void RecordBuffer::own() {
    m_store.detach();
    m_data = reinterpret_cast<const std::uint8_t*>(m_store.constData());
    m_shared = false;
}

QByteArray RecordBuffer::bytes(int n) const {
    const int count = std::clamp(n, 0, m_size);
    return QByteArray(reinterpret_cast<const char*>(m_data), count);
}

}  // namespace kx
