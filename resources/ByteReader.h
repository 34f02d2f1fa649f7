// Bounds-checked reading of little-endian binary data.
//
// Every read of a compiled resource, a PE header or a version block goes through this cursor: it
// knows the end of its buffer and fails instead of reading past it. A failed read leaves the cursor
// in a failed state in which every later read fails too, so a parser may read a whole structure and
// test ok() once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace resources {

class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool ok() const { return m_ok; }
    size_t offset() const { return m_pos; }
    size_t size() const { return m_size; }
    size_t remaining() const { return m_ok ? m_size - m_pos : 0; }
    const uint8_t* data() const { return m_data; }
    const uint8_t* current() const { return m_data + m_pos; }

    // Moves to an absolute offset; an offset beyond the end fails.
    bool seek(size_t offset) {
        if (!m_ok || offset > m_size)
            return fail();
        m_pos = offset;
        return true;
    }
    bool skip(size_t count) {
        if (!m_ok || count > m_size - m_pos)
            return fail();
        m_pos += count;
        return true;
    }
    // Moves forward to the next multiple of `alignment` (counted from the buffer's start).
    bool alignTo(size_t alignment) {
        size_t rest = m_pos % alignment;
        return rest == 0 || skip(alignment - rest);
    }

    uint8_t u8() { return static_cast<uint8_t>(read(1)); }
    uint16_t u16() { return static_cast<uint16_t>(read(2)); }
    uint32_t u32() { return static_cast<uint32_t>(read(4)); }
    uint64_t u64() { return read(8); }

    // A view of the next `count` bytes; nullptr (and the failed state) when they are not there.
    const uint8_t* bytes(size_t count) {
        if (!m_ok || count > m_size - m_pos) {
            fail();
            return nullptr;
        }
        const uint8_t* p = m_data + m_pos;
        m_pos += count;
        return p;
    }

    // A zero-terminated UTF-16 string; the terminator is consumed, not returned.
    std::u16string utf16z() {
        std::u16string text;
        while (m_ok) {
            char16_t c = u16();
            if (!m_ok || c == 0)
                break;
            text.push_back(c);
        }
        return text;
    }

    // A zero-terminated 8-bit string; the terminator is consumed, not returned.
    std::string ansiz() {
        std::string text;
        while (m_ok) {
            char c = static_cast<char>(u8());
            if (!m_ok || c == 0)
                break;
            text.push_back(c);
        }
        return text;
    }

    // A reader over a part of this buffer; a range outside it gives a failed reader.
    ByteReader sub(size_t offset, size_t length) const {
        if (!m_ok || offset > m_size || length > m_size - offset) {
            ByteReader bad;
            bad.m_ok = false;
            return bad;
        }
        return ByteReader(m_data + offset, length);
    }

    bool fail() {
        m_ok = false;
        return false;
    }

private:
    uint64_t read(size_t width) {
        if (!m_ok || width > m_size - m_pos) {
            fail();
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i)
            value |= static_cast<uint64_t>(m_data[m_pos + i]) << (8 * i);
        m_pos += width;
        return value;
    }

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace resources
