// The Windows replacing copy and run record against what the Windows side can set up itself:
// read-only and hidden targets, second names of a file, long names, and a system that refuses
// LOAD_LIBRARY_SEARCH_SYSTEM32. Links, FIFOs and a folder watched by a swapper are made from the
// POSIX side in the end-to-end runs under Wine.
#ifdef _WIN32
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform/win32/SafeFolder.h"
#include "platform/win32/VersionDll.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
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

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(WindowsSafeFolder, WalksCreatesAndRefusesFiles) {
    TempFolder folder;
    CreateDirectoryA(folder.File("a").c_str(), nullptr);
    WriteFile(folder.File("a\\file"), "x");
    platform::SafeFolder walk;
    EXPECT_EQ(walk.Open(folder.File("a\\file")), platform::WalkResult::NotAFolder);
    EXPECT_EQ(walk.Open(folder.File("a\\file\\b")), platform::WalkResult::NotAFolder);
    EXPECT_EQ(walk.Open(folder.File("a\\missing")), platform::WalkResult::Missing);
    EXPECT_FALSE(walk.opened());
    std::vector<std::string> created;
    ASSERT_EQ(walk.Open(folder.File("a\\c\\d"), platform::MissingLevels::Create, &created),
              platform::WalkResult::Reached);
    EXPECT_EQ(created.size(), 2u);
    EXPECT_NE(GetFileAttributesA(walk.Child("..\\..\\file").c_str()), INVALID_FILE_ATTRIBUTES)
        << walk.path();
    std::string name;
    ASSERT_EQ(walk.OpenParent(folder.File("a\\c\\d\\new.dll"), name),
              platform::WalkResult::Reached);
    EXPECT_EQ(name, "new.dll");
    EXPECT_EQ(walk.Child(name), walk.path() + "\\new.dll");
}

// While the walk holds a folder, no level on the way can be renamed (and so none replaced by a
// junction); once it lets go, they can. Wine renames folders whatever handles are open on them.
TEST(WindowsSafeFolder, HoldsEveryLevelOnTheWay) {
    if (UnderWine())
        GTEST_SKIP() << "Wine does not hold a folder's share mode against its renaming";
    TempFolder folder;
    CreateDirectoryA(folder.File("a").c_str(), nullptr);
    CreateDirectoryA(folder.File("a\\b").c_str(), nullptr);
    {
        platform::SafeFolder held;
        ASSERT_EQ(held.Open(folder.File("a\\b")), platform::WalkResult::Reached);
        EXPECT_FALSE(MoveFileA(folder.File("a").c_str(), folder.File("moved").c_str()));
        EXPECT_FALSE(MoveFileA(folder.File("a\\b").c_str(), folder.File("a\\moved").c_str()));
    }
    EXPECT_TRUE(MoveFileA(folder.File("a").c_str(), folder.File("moved").c_str()));
}

TEST(WindowsSafeFolder, AdministratorsOwnLinks) {
    const WELL_KNOWN_SID_TYPE cases[] = {WinBuiltinAdministratorsSid, WinLocalSystemSid,
                                         WinBuiltinUsersSid, WinWorldSid, WinAuthenticatedUserSid};
    for (WELL_KNOWN_SID_TYPE type : cases) {
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof sid;
        ASSERT_TRUE(CreateWellKnownSid(type, nullptr, sid, &size)) << type;
        EXPECT_EQ(platform::IsAdministratorSid(sid),
                  type == WinBuiltinAdministratorsSid || type == WinLocalSystemSid)
            << type;
    }
    PSID installer = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidA(
        "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", &installer));
    EXPECT_TRUE(platform::IsAdministratorSid(installer));
    LocalFree(installer);
}

std::string AccessList(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return "unreadable";
    char* text = nullptr;
    std::string result = "unconvertible";
    if (ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
        result = text;
        LocalFree(text);
    }
    LocalFree(descriptor);
    return result;
}

// A replaced file keeps its own access list: the copy is given it, by handle, before it takes
// the name. The payload's own list does not come along.
TEST(WindowsReplacingCopy, ReplacedFileKeepsItsAccessList) {
    TempFolder folder;
    const std::string source = folder.File("source.bin");
    const std::string target = folder.File("target.bin");
    WriteFile(source, "new content");
    WriteFile(target, "old content");
    const char* kept = "D:P(A;;FA;;;BA)(A;;FR;;;BU)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(kept, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    BOOL present = FALSE, defaulted = FALSE;
    PACL access = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &access, &defaulted);
    ASSERT_EQ(SetNamedSecurityInfoA(const_cast<char*>(target.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, access, nullptr),
              DWORD(ERROR_SUCCESS));
    LocalFree(descriptor);
    const std::string before = AccessList(target);
    if (before == AccessList(source))
        GTEST_SKIP() << "the file system keeps no access list of its own per file: " << before;
    ASSERT_TRUE(platform::CopyFileReplacing(source, target));
    EXPECT_EQ(ReadFile(target), "new content");
    EXPECT_EQ(AccessList(target), before);
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
