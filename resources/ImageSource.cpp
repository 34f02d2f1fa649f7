#include "resources/ImageSource.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace resources {

bool BufferSource::read(uint64_t offset, size_t length, std::vector<uint8_t>& out) {
    if (!inside(offset, length))
        return false;
    out.assign(m_data + offset, m_data + offset + length);
    return true;
}

#ifdef _WIN32
FileSource::FileSource(const std::string& path) : m_file(path, std::ios::binary) {
    if (m_file && m_file.seekg(0, std::ios::end)) {
        std::streamoff end = m_file.tellg();
        m_size = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
}

FileSource::~FileSource() = default;

bool FileSource::isOpen() const {
    return static_cast<bool>(m_file);
}

bool FileSource::read(uint64_t offset, size_t length, std::vector<uint8_t>& out) {
    if (!inside(offset, length))
        return false;
    out.resize(length);
    m_file.clear();
    if (!m_file.seekg(static_cast<std::streamoff>(offset)))
        return false;
    return length == 0 ||
           m_file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(length));
}
#else
FileSource::FileSource(const std::string& path)
    : m_fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
    struct stat st;
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode)) {
        m_size = static_cast<uint64_t>(st.st_size);
    } else if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FileSource::~FileSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileSource::isOpen() const {
    return m_fd >= 0;
}

bool FileSource::read(uint64_t offset, size_t length, std::vector<uint8_t>& out) {
    if (!inside(offset, length))
        return false;
    out.resize(length);
    size_t done = 0;
    while (done < length) {
        ssize_t got =
            ::pread(m_fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<size_t>(got);
    }
    return true;
}
#endif

} // namespace resources
