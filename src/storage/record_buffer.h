#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <span>

namespace kx {

// What a reader made of a whole file or image: read, not the tag it expects (a foreign file), or
// damaged (a position, count or length pointing outside the bytes).
enum class ParseResult { Ok, WrongTag, Damaged };

// A working buffer: files are built and parsed whole in one of these. Its capacity is fixed when
// it is made and a fresh buffer is all zeros. Every access is bounds-checked: one outside the
// capacity does nothing (a read yields 0) and marks the buffer failed, so a reader of untrusted
// bytes checks ok() where it must decide, and never reads or writes outside the buffer.
// A buffer made from bytes shares them: a file read whole is parsed where it lies, and only a
// write gives the buffer bytes of its own. One made with a capacity starts on a zeroed block of
// its own (see zeroedBlock).
class RecordBuffer {
  public:
    explicit RecordBuffer(int capacity);
    // A buffer holding exactly these bytes (a file read whole), at most the first 2^31 - 1.
    static RecordBuffer fromBytes(const QByteArray& bytes);
    RecordBuffer(const RecordBuffer& other);
    RecordBuffer& operator=(const RecordBuffer& other);
    RecordBuffer(RecordBuffer&& other) noexcept;
    RecordBuffer& operator=(RecordBuffer&& other) noexcept;
    ~RecordBuffer() = default;

    int capacity() const { return m_size; }
    bool ok() const { return !m_failed; }
    void fail() { m_failed = true; }
    // True when [position, position + count) lies inside the buffer; marks failure otherwise.
    // Inline with at and set: a Show File is millions of these calls.
    bool require(std::int64_t position, std::int64_t count) {
        if (position < 0 || count < 0 || position + count > m_size) {
            m_failed = true;
            return false;
        }
        return true;
    }

    // 0 and failure outside.
    std::uint8_t at(int position) { return require(position, 1) ? m_data[position] : 0; }
    // Nothing and failure outside.
    void set(int position, std::uint8_t value) {
        if (require(position, 1)) writable()[position] = value;
    }

    // Bytes 0 .. n-1 (clamped to the capacity).
    QByteArray bytes(int n) const;
    // Bytes position .. position + count - 1 (clamped to the capacity). Of a buffer made from
    // bytes they are those bytes themselves, shared, not copied: the images of a Show File are
    // megabytes. Such a part keeps the whole file's memory while it lives, and is not followed
    // by a terminating zero (the bytes after it are the file's).
    QByteArray part(int position, int count) const;
    std::span<const std::uint8_t> view() const {
        return {m_data, static_cast<std::size_t>(m_size)};
    }
    std::span<std::uint8_t> data() { return {writable(), static_cast<std::size_t>(m_size)}; }

  private:
    RecordBuffer() = default;
    // The bytes, made the buffer's own first when they are shared.
    std::uint8_t* writable() {
        if (m_shared) own();
        return const_cast<std::uint8_t*>(m_data);
    }
    void own();

    QByteArray m_store;                     // the bytes it was made from, if any
    std::shared_ptr<std::uint8_t> m_block;  // or its own bytes
    const std::uint8_t* m_data = nullptr;   // the one of the two that holds them
    int m_size = 0;
    bool m_shared = false;  // the bytes may be another's: copied before the first write
    bool m_failed = false;
};

}  // namespace kx
