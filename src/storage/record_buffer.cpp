#include "storage/record_buffer.h"

namespace kx {

RecordBuffer::RecordBuffer(int capacity) : m_bytes(capacity > 0 ? capacity : 0, 0) {}

RecordBuffer RecordBuffer::fromBytes(const QByteArray& bytes) {
    RecordBuffer b(static_cast<int>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), b.m_bytes.begin());
    return b;
}

bool RecordBuffer::require(std::int64_t position, std::int64_t count) {
    if (position < 0 || count < 0 || position + count > capacity()) {
        m_failed = true;
        return false;
    }
    return true;
}

std::uint8_t RecordBuffer::at(int position) {
    return require(position, 1) ? m_bytes[position] : 0;
}

void RecordBuffer::set(int position, std::uint8_t value) {
    if (require(position, 1)) m_bytes[position] = value;
}

QByteArray RecordBuffer::bytes(int n) const {
    const int count = std::clamp(n, 0, capacity());
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), count);
}

}  // namespace kx
