// A folder of its own for each test, removed afterwards, and small file helpers. Paths are the
// platform's own (drive letters and backslashes under Windows), so both backends take them.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace platform_test {

namespace fs = std::filesystem;

inline int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        m_path = fs::temp_directory_path() / ("quarnel-platform-" + std::to_string(ProcessId()) +
                                              "-" + std::to_string(counter++));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (auto& entry : fs::recursive_directory_iterator(m_path, ignored))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return m_path; }
    // The full name of `name` inside the folder, as text for the platform functions.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // The names in the folder, to see that nothing else was left behind.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (auto& entry : fs::directory_iterator(m_path))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    fs::path m_path;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace platform_test
