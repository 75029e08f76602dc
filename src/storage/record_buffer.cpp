#include "storage/record_buffer.h"

namespace kx {

RecordBuffer::RecordBuffer(int capacity) : m_bytes(capacity > 0 ? capacity : 0, 0) {}

RecordBuffer RecordBuffer::fromBytes(const QByteArray& bytes) {
    RecordBuffer b(0);
    // Copied straight in, without zeroing the bytes first.
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    b.m_bytes.assign(data, data + bytes.size());
    return b;
}

QByteArray RecordBuffer::bytes(int n) const {
    const int count = std::clamp(n, 0, capacity());
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), count);
}

}  // namespace kx
