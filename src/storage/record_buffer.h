#pragma once

#include <QByteArray>
#include <cstdint>
#include <span>
#include <vector>

namespace kx {

// What a reader made of a whole file or image: read, not the tag it expects (a foreign file), or
// damaged (a position, count or length pointing outside the bytes).
enum class ParseResult { Ok, WrongTag, Damaged };

// A working buffer: files are built and parsed whole in one of these. Its capacity is fixed when
// it is made and a fresh buffer is all zeros. Every access is bounds-checked: one outside the
// capacity does nothing (a read yields 0) and marks the buffer failed, so a reader of untrusted
// bytes checks ok() where it must decide, and never reads or writes outside the buffer.
class RecordBuffer {
  public:
    explicit RecordBuffer(int capacity);
    // A buffer holding exactly these bytes (a file read whole).
    static RecordBuffer fromBytes(const QByteArray& bytes);

    int capacity() const { return static_cast<int>(m_bytes.size()); }
    bool ok() const { return !m_failed; }
    void fail() { m_failed = true; }
    // True when [position, position + count) lies inside the buffer; marks failure otherwise.
    // Inline with at and set: a Show File is millions of these calls.
    bool require(std::int64_t position, std::int64_t count) {
        if (position < 0 || count < 0 || position + count > capacity()) {
            m_failed = true;
            return false;
        }
        return true;
    }

    // 0 and failure outside.
    std::uint8_t at(int position) { return require(position, 1) ? m_bytes[position] : 0; }
    // Nothing and failure outside.
    void set(int position, std::uint8_t value) {
        if (require(position, 1)) m_bytes[position] = value;
    }

    // Bytes 0 .. n-1 (clamped to the capacity).
    QByteArray bytes(int n) const;
    std::span<const std::uint8_t> view() const { return m_bytes; }
    std::span<std::uint8_t> data() { return m_bytes; }

  private:
    std::vector<std::uint8_t> m_bytes;
    bool m_failed = false;
};

}  // namespace kx
