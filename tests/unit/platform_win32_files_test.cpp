// The Windows replacing copy and run record against what the Windows side can set up itself:
// read-only and hidden targets, second names of a file, long names, and a system that refuses
// LOAD_LIBRARY_SEARCH_SYSTEM32. Links, FIFOs and a folder watched by a swapper are made from the
// POSIX side in the end-to-end runs under Wine.
#ifdef _WIN32
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform/win32/VersionDll.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform_test::ReadFile;
using platform_test::TempFolder;
using platform_test::WriteFile;

DWORD Attributes(const std::string& path) {
    return GetFileAttributesA(path.c_str()) & ~FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
}

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The copy gives its file what CopyFileA gives, compared with CopyFileA itself.
TEST(WindowsReplacingCopy, TakesOverWhatCopyFileAWould) {
    for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_NORMAL), DWORD(FILE_ATTRIBUTE_READONLY),
                             DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE)}) {
        SCOPED_TRACE(attributes);
        TempFolder folder;
        const std::string source = folder.File("source.bin");
        WriteFile(source, "payload");
        FILETIME old = {0x12345678, 0x01C00000};
        HANDLE h = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        SetFileTime(h, nullptr, nullptr, &old);
        CloseHandle(h);
        SetFileAttributesA(source.c_str(), attributes);

        ASSERT_TRUE(CopyFileA(source.c_str(), folder.File("reference.bin").c_str(), FALSE));
        ASSERT_TRUE(platform::CopyFileReplacing(source, folder.File("target.bin")));
        EXPECT_EQ(ReadFile(folder.File("target.bin")), "payload");
        EXPECT_EQ(Attributes(folder.File("target.bin")), Attributes(folder.File("reference.bin")));
        const FILETIME copied = LastWrite(folder.File("target.bin"));
        EXPECT_EQ(CompareFileTime(&copied, &old), 0);
        EXPECT_EQ(folder.Names(),
                  (std::set<std::string>{"reference.bin", "source.bin", "target.bin"}));
        for (const char* name : {"source.bin", "reference.bin", "target.bin"})
            SetFileAttributesA(folder.File(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// CopyFileA refuses to replace a read-only or hidden file, and so does the copy (also where the
// file system would let an administrator write, as under Wine run by root).
TEST(WindowsReplacingCopy, ReadOnlyAndHiddenTargetsStay) {
    for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_READONLY), DWORD(FILE_ATTRIBUTE_HIDDEN)}) {
        SCOPED_TRACE(attributes);
        TempFolder folder;
        WriteFile(folder.File("source.bin"), "new");
        WriteFile(folder.File("target.bin"), "old");
        SetFileAttributesA(folder.File("target.bin").c_str(), attributes);
        EXPECT_FALSE(
            platform::CopyFileReplacing(folder.File("source.bin"), folder.File("target.bin")));
        EXPECT_EQ(ReadFile(folder.File("target.bin")), "old");
        EXPECT_EQ(folder.Names(), (std::set<std::string>{"source.bin", "target.bin"}));
        SetFileAttributesA(folder.File("target.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The temporary's name is short: a target whose path just fits the path limit still copies, and
// the folder then holds the two files only.
TEST(WindowsReplacingCopy, TargetPathAtTheLimit) {
    TempFolder folder;
    const std::string prefix = folder.File("");
    ASSERT_LT(prefix.size() + 20, size_t(MAX_PATH));
    const std::string name = std::string(MAX_PATH - 1 - prefix.size() - 4, 'n') + ".dll";
    WriteFile(folder.File("source.bin"), "new");
    ASSERT_TRUE(platform::CopyFileReplacing(folder.File("source.bin"), prefix + name));
    ASSERT_TRUE(platform::CopyFileReplacing(folder.File("source.bin"), prefix + name));
    EXPECT_EQ(ReadFile(prefix + name), "new");
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"source.bin", name}));
}

// The run record is written only when it is a plain file with one name that may be written.
TEST(WindowsRunRecord, WrittenOnlyWhenASingleWritableName) {
    TempFolder folder;
    const std::string record = folder.File("Update.inf");
    struct Case {
        const char* what;
        void (*prepare)(const std::string& record, const std::string& other);
        bool written;
    } cases[] = {
        {"a plain file", [](const std::string&, const std::string&) {}, true},
        {"a second name of the file",
         [](const std::string& r, const std::string& other) {
             CreateHardLinkA(other.c_str(), r.c_str(), nullptr);
         },
         false},
        {"read-only",
         [](const std::string& r, const std::string&) {
             SetFileAttributesA(r.c_str(), FILE_ATTRIBUTE_READONLY);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(folder.File("Other.inf").c_str());
        WriteFile(record, "  Hotfix 2");
        c.prepare(record, folder.File("Other.inf"));
        EXPECT_EQ(platform::OverwriteExistingFile(record, "  Hotfix 3"), c.written);
        EXPECT_EQ(ReadFile(record), c.written ? "  Hotfix 3" : "  Hotfix 2");
    }
    SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(record.c_str());
    EXPECT_FALSE(platform::OverwriteExistingFile(record, "  Hotfix 3"));
    EXPECT_FALSE(platform::PathExists(record)) << "never created";
}

// A loader that refuses LOAD_LIBRARY_SEARCH_SYSTEM32 as Windows 7 without its update does.
struct RecordedLoad {
    std::string name;
    DWORD flags;
};
std::vector<RecordedLoad> g_loads;
DWORD g_refusal = ERROR_INVALID_PARAMETER;

HMODULE WINAPI OldLoader(LPCSTR name, HANDLE, DWORD flags) {
    g_loads.push_back({name, flags});
    if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
        SetLastError(g_refusal);
        return nullptr;
    }
    return LoadLibraryExA(name, nullptr, flags);
}

TEST(VersionLibrary, LoadedByFullPathWhereTheSearchFlagIsUnknown) {
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, sizeof system);
    const std::string fullPath = std::string(system, length) + "\\version.dll";

    g_loads.clear();
    g_refusal = ERROR_INVALID_PARAMETER;
    HMODULE module = platform::LoadVersionLibrary(OldLoader);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "VerQueryValueA"), nullptr);
    ASSERT_EQ(g_loads.size(), 2u);
    EXPECT_EQ(g_loads[0].name, "version.dll");
    EXPECT_EQ(g_loads[1].name, fullPath) << "never the bare name without the flag";
    EXPECT_EQ(g_loads[1].flags & LOAD_LIBRARY_SEARCH_SYSTEM32, 0u);

    // Any other refusal is an answer: no second try.
    g_loads.clear();
    g_refusal = ERROR_MOD_NOT_FOUND;
    EXPECT_EQ(platform::LoadVersionLibrary(OldLoader), nullptr);
    EXPECT_EQ(g_loads.size(), 1u);
}

} // namespace
#endif
