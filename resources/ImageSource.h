// Where the bytes of a module come from: a buffer, or a file read range by range. The module
// readers take only the headers and tables they walk and the resources they return, so a large
// program costs no more than a small one.
#pragma once

#include "resources/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fstream>
#endif

namespace resources {

class ImageSource {
public:
    virtual ~ImageSource() = default;
    virtual uint64_t size() const = 0;
    // The bytes [offset, offset + length); false when any of them is not in the image.
    virtual bool read(uint64_t offset, size_t length, std::vector<uint8_t>& out) = 0;

protected:
    bool inside(uint64_t offset, uint64_t length) const {
        return offset <= size() && length <= size() - offset;
    }
};

class BufferSource : public ImageSource {
public:
    BufferSource(const uint8_t* data, size_t size) : m_data(data), m_size(data ? size : 0) {}
    uint64_t size() const override { return m_size; }
    bool read(uint64_t offset, size_t length, std::vector<uint8_t>& out) override;

private:
    const uint8_t* m_data;
    size_t m_size;
};

// Only a regular file is read, and on POSIX it is opened without waiting: a FIFO or a device put
// in a program's place is refused by its type instead of holding the reader.
class FileSource : public ImageSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const;
    uint64_t size() const override { return m_size; }
    bool read(uint64_t offset, size_t length, std::vector<uint8_t>& out) override;

private:
#ifdef _WIN32
    std::ifstream m_file;
#else
    int m_fd = -1;
#endif
    uint64_t m_size = 0;
};

// Reads `length` bytes at `offset` and hands them to `parse` through a checked cursor; false when
// they are not all there or `parse` failed the cursor.
template <typename Parse>
bool ReadStructure(ImageSource& source, uint64_t offset, size_t length, Parse parse) {
    std::vector<uint8_t> bytes;
    if (!source.read(offset, length, bytes))
        return false;
    ByteReader r(bytes.data(), bytes.size());
    parse(r);
    return r.ok();
}

} // namespace resources
