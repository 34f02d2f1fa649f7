#include "check/StaticCheck.h"

#include "check/NearestName.h"
#include "check/res/resource.h"
#include "framework/Messages.h"
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "platform/ProfileOutline.h"
#include "platform/ProfileText.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/VersionInfo.h"

#include <filesystem>
#include <set>

namespace {

using platform::OutlineKey;
using platform::OutlineSection;
using platform::SameProfileName;

// The number a numbered name carries after `base` ("File12": 12); 0 when it is not one, as with
// a leading zero, which the setup never formats.
int NumberAfter(const std::string& name, const char* base) {
    std::string prefix(base);
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 ||
        !SameProfileName(name.substr(0, prefix.size()), prefix) || name[prefix.size()] == '0')
        return 0;
    int number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

// The digits a name ends in, or "1": the number a misspelt numbered name most likely meant.
std::string TrailingNumber(const std::string& name) {
    size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9')
        --start;
    return start == name.size() ? "1" : name.substr(start);
}

bool PassesOnSomeRecognisedSystem(const std::string& options) {
    for (int code = 1; OsTag(code); ++code)
        if (PassesSystemFilter(options, code))
            return true;
    return false;
}

std::vector<std::string> KnownTags() {
    std::vector<std::string> tags{kVersionTag};
    for (int code = 1; OsTag(code); ++code)
        tags.push_back(OsTag(code));
    return tags;
}

// A payload name as entries write it, compared without regard to case and separator.
std::string PayloadKey(std::string name) {
    for (char& c : name)
        c = c == '/' ? '\\' : platform::FoldProfileCase(c);
    return name;
}

// The program of a command line: up to the first blank, or the text in leading quotes.
std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

bool HasFolder(const std::string& path) {
    return path.find_first_of("\\/:") != std::string::npos;
}

class Checker {
public:
    Checker(const std::string& folder, Findings& findings)
        : m_folder(folder), m_setupInf(folder + kSetupInfName), m_findings(findings) {}

    void Run() {
        // A SETUP.INF is a few kilobytes; the bound only keeps a wrong file from filling memory.
        constexpr size_t kSetupInfLimit = size_t(64) << 20;
        std::string text;
        platform::ReadFileStart(m_setupInf, kSetupInfLimit, text);
        m_outline = platform::OutlineProfile(text);
        CheckEncoding();
        CheckSections();
        CheckInstallationSection();
        CheckBlocks();
        CheckUnnamedPayload();
    }

private:
    void Add(Severity severity, int line, const std::string& section, const std::string& key,
             std::string message) {
        m_findings.push_back(Finding{severity, kSetupInfName, line, section, key, message});
    }

    std::string Read(const std::string& section, const std::string& key) const {
        return platform::ReadProfileValue(section, key, m_setupInf);
    }

    // How many of a numbered list the setup reads: up to the first empty one.
    int CountRead(const std::string& section, const char* base) const {
        int n = 1;
        while (!Read(section, NumberedName(base, n)).empty())
            ++n;
        return n - 1;
    }

    // The section the reader takes for a name: the first of that name.
    const OutlineSection* Section(const std::string& name) const {
        for (const OutlineSection& section : m_outline.sections)
            if (SameProfileName(section.name, name))
                return &section;
        return nullptr;
    }

    static const OutlineKey* Key(const OutlineSection* section, const std::string& name) {
        if (section)
            for (const OutlineKey& key : section->keys)
                if (SameProfileName(key.name, name))
                    return &key;
        return nullptr;
    }

    int LineOf(const OutlineSection* section, const std::string& key) const {
        const OutlineKey* found = Key(section, key);
        return found ? found->line : section ? section->line : 1;
    }

    void CheckEncoding() {
        using Mark = platform::ProfileOutline::Mark;
        if (m_outline.byteOrderMark != Mark::None)
            Add(Severity::Warning, 1, "", "",
                FormatMessageText(IDS_CHECK_BYTE_ORDER_MARK,
                                  {m_outline.byteOrderMark == Mark::Utf8 ? "UTF-8" : "UTF-16"}));
        for (int line : m_outline.undefinedByteLines)
            Add(Severity::Warning, line, "", "", LoadMessage(IDS_CHECK_UNDEFINED_BYTES));
        for (int line : m_outline.keysBeforeFirstSection)
            Add(Severity::Warning, line, "", "", FormatMessageText(IDS_CHECK_NO_SECTION, {"line"}));
    }

    // Unknown sections and keys, and values the reader changes.
    void CheckSections() {
        for (const OutlineSection& section : m_outline.sections) {
            bool installation = SameProfileName(section.name, kInstallationSection);
            bool block = NumberAfter(section.name, kBlockSection) > 0;
            if (!installation && !block) {
                std::string nearest =
                    NearestName(section.name, {kInstallationSection,
                                               kBlockSection + TrailingNumber(section.name)});
                Add(Severity::Warning, section.line, section.name, "",
                    nearest.empty() ? FormatMessageText(IDS_CHECK_UNKNOWN_SECTION, {section.name})
                                    : FormatMessageText(IDS_CHECK_UNKNOWN_SECTION_NEAR,
                                                        {section.name, nearest}));
                continue;
            }
            for (const OutlineKey& key : section.keys) {
                CheckKeyName(section, key, installation);
                CheckValueText(section, key);
            }
        }
    }

    void CheckKeyName(const OutlineSection& section, const OutlineKey& key, bool installation) {
        std::string n = TrailingNumber(key.name);
        std::vector<std::string> known;
        bool numbered = false;
        if (installation) {
            known = {kTitleKey};
            numbered = NumberAfter(key.name, kRequiredVersionKey) ||
                       NumberAfter(key.name, kInfoTextKey) || NumberAfter(key.name, kProgramKey);
            for (const char* base : {kRequiredVersionKey, kInfoTextKey, kProgramKey})
                known.push_back(base + n);
        } else {
            known = {kBlockSectionKey, kBlockPathKey, kBlockSubdirKey, kBlockFileKey + n};
            numbered = NumberAfter(key.name, kBlockFileKey) > 0;
        }
        if (numbered)
            return;
        // The names without a number come first in `known`.
        for (size_t i = 0; i < (installation ? 1u : 3u); ++i)
            if (SameProfileName(key.name, known[i]))
                return;
        std::string nearest = NearestName(key.name, known);
        Add(Severity::Warning, key.line, section.name, key.name,
            nearest.empty() ? FormatMessageText(IDS_CHECK_UNKNOWN_KEY, {key.name})
                            : FormatMessageText(IDS_CHECK_UNKNOWN_KEY_NEAR, {key.name, nearest}));
    }

    void CheckValueText(const OutlineSection& section, const OutlineKey& key) {
        std::string seen = key.text.substr(0, key.text.find('\0'));
        if (platform::HasProfileQuotes(key.text))
            Add(Severity::Warning, key.line, section.name, key.name,
                FormatMessageText(IDS_CHECK_VALUE_QUOTED, {key.name}));
        size_t length = seen.size() - (platform::HasProfileQuotes(key.text) ? 2 : 0);
        if (length > platform::kProfileValueLimit)
            Add(Severity::Warning, key.line, section.name, key.name,
                FormatMessageText(IDS_CHECK_VALUE_CUT, {key.name, std::to_string(length)}));
    }

    // Keys of a numbered list after its first gap.
    void CheckGaps(const OutlineSection* section, const char* base, int read) {
        if (!section)
            return;
        for (const OutlineKey& key : section->keys) {
            int number = NumberAfter(key.name, base);
            if (number > read && !key.value.empty())
                Add(Severity::Warning, key.line, section->name, key.name,
                    FormatMessageText(IDS_CHECK_NEVER_READ,
                                      {key.name, NumberedName(base, read + 1)}));
        }
    }

    void CheckInstallationSection() {
        const OutlineSection* installation = Section(kInstallationSection);
        if (Read(kInstallationSection, kTitleKey).empty())
            Add(Severity::Error, LineOf(installation, kTitleKey), kInstallationSection, kTitleKey,
                LoadMessage(IDS_CHECK_NO_TITLE));

        int required = CountRead(kInstallationSection, kRequiredVersionKey);
        CheckGaps(installation, kRequiredVersionKey, required);
        for (int n = 1; n <= required; ++n) {
            std::string key = NumberedName(kRequiredVersionKey, n);
            std::string file, version;
            int line = LineOf(installation, key);
            if (!SplitRequiredVersion(Read(kInstallationSection, key), file, version))
                Add(Severity::Error, line, kInstallationSection, key,
                    FormatMessageText(IDS_CHECK_NO_VERSION_SPLIT, {key}));
            else if (VersionSourceOf(file) == VersionSource::None)
                Add(Severity::Error, line, kInstallationSection, key,
                    FormatMessageText(IDS_CHECK_NO_VERSION_SOURCE, {key, file}));
        }
        if (installation)
            for (const OutlineKey& key : installation->keys) {
                int number = NumberAfter(key.name, kInfoTextKey);
                if (number > required && !key.value.empty())
                    Add(Severity::Warning, key.line, kInstallationSection, key.name,
                        FormatMessageText(IDS_CHECK_INFOTEXT_ALONE,
                                          {key.name, NumberedName(kRequiredVersionKey, number)}));
            }

        int programs = CountRead(kInstallationSection, kProgramKey);
        CheckGaps(installation, kProgramKey, programs);
        for (int n = 1; n <= programs; ++n) {
            std::string key = NumberedName(kProgramKey, n);
            std::string program = ProgramOf(Read(kInstallationSection, key));
            m_named.insert(PayloadKey(program));
            if (HasFolder(program) || platform::PathExists(m_folder + program))
                continue;
            // Windows adds ".exe" to a program named without an extension.
            if (program.find('.') == std::string::npos &&
                platform::PathExists(m_folder + program + ".exe")) {
                m_named.insert(PayloadKey(program + ".exe"));
                continue;
            }
            Add(Severity::Warning, LineOf(installation, key), kInstallationSection, key,
                FormatMessageText(IDS_CHECK_PROGRAM_MISSING, {key, program}));
        }
    }

    void CheckBlocks() {
        int blocks = 0;
        int withoutPath = 0;
        for (int n = 1;; ++n) {
            std::string name = NumberedName(kBlockSection, n);
            if (Read(name, kBlockSectionKey).empty())
                break;
            if (Read(name, kBlockPathKey).empty()) {
                withoutPath = n;
                break;
            }
            blocks = n;
        }

        size_t entries = 0;
        for (int n = 1; n <= blocks; ++n)
            entries += CheckBlock(NumberedName(kBlockSection, n));

        std::string hidden;
        for (const OutlineSection& section : m_outline.sections) {
            int number = NumberAfter(section.name, kBlockSection);
            if (number <= blocks + (withoutPath ? 1 : 0) || &section != Section(section.name))
                continue;
            if (withoutPath) {
                hidden += (hidden.empty() ? "[" : ", [") + section.name + "]";
                continue;
            }
            Add(Severity::Warning, section.line, section.name, "",
                FormatMessageText(IDS_CHECK_NEVER_READ,
                                  {"[" + section.name + "]",
                                   "[" + NumberedName(kBlockSection, blocks + 1) + "] Section"}));
        }
        if (withoutPath) {
            std::string name = NumberedName(kBlockSection, withoutPath);
            bool hasFiles = !Read(name, NumberedName(kBlockFileKey, 1)).empty();
            if (!hidden.empty() || hasFiles) {
                if (hasFiles)
                    hidden = hidden.empty() ? "its files" : "its files and " + hidden;
                Add(Severity::Error, LineOf(Section(name), kBlockSectionKey), name,
                    kBlockSectionKey,
                    FormatMessageText(IDS_CHECK_BLOCK_WITHOUT_PFAD, {name, hidden}));
            }
        }
        if (entries == 0) {
            const OutlineSection* first = Section(NumberedName(kBlockSection, 1));
            Add(Severity::Error, first ? first->line : 1, "", "", LoadMessage(IDS_CHECK_NO_FILES));
        }
    }

    // One block the setup reads; returns how many entries it yields.
    size_t CheckBlock(const std::string& name) {
        const OutlineSection* section = Section(name);
        std::string sectionValue = Read(name, kBlockSectionKey);
        std::string pathValue = Read(name, kBlockPathKey);
        if (IsWindowsFolderBlock(sectionValue) && !Read(name, kBlockSubdirKey).empty())
            Add(Severity::Warning, LineOf(section, kBlockSubdirKey), name, kBlockSubdirKey,
                LoadMessage(IDS_CHECK_SUBDIR_IGNORED));
        if (!IsWindowsFolderBlock(sectionValue) &&
            !TakesFoundProgramFolder(sectionValue, pathValue) &&
            SameProfileName(sectionValue, kDirectoriesSection) &&
            SameProfileName(pathValue, kProgDirKey))
            Add(Severity::Warning, LineOf(section, kBlockSectionKey), name, kBlockSectionKey,
                FormatMessageText(IDS_CHECK_PROGDIR_CASE, {sectionValue, pathValue}));

        int files = CountRead(name, kBlockFileKey);
        CheckGaps(section, kBlockFileKey, files);
        for (int m = 1; m <= files; ++m) {
            std::string key = NumberedName(kBlockFileKey, m);
            CheckEntry(name, key, LineOf(section, key), SplitFileValue(Read(name, key)));
        }
        return static_cast<size_t>(files);
    }

    void CheckEntry(const std::string& section, const std::string& key, int line,
                    const FileValue& file) {
        std::string source = m_folder + file.name;
        m_named.insert(PayloadKey(file.name));
        bool present = platform::PathExists(source);
        if (!present)
            Add(Severity::Error, line, section, key,
                FormatMessageText(IDS_CHECK_PAYLOAD_MISSING, {key, file.name}));

        CheckTags(section, key, line, file.options);
        if (HasSystemFilter(file.options) && !PassesOnSomeRecognisedSystem(file.options))
            Add(Severity::Warning, line, section, key,
                FormatMessageText(IDS_CHECK_FILTER_NEVER, {key}));

        WORD language = 0, codePage = 0;
        std::string version;
        if (present && AsksBeforeReplacing(file.options) &&
            !GetFileVersionString(source, version, "FileVersion") &&
            !GetFileTranslation(source, language, codePage))
            Add(Severity::Warning, line, section, key,
                FormatMessageText(IDS_CHECK_NO_VERSION_RESOURCE, {key, file.name}));
    }

    // The words of an options text that are no tag of the setup's, or one in another case.
    void CheckTags(const std::string& section, const std::string& key, int line,
                   const std::string& options) {
        static const std::vector<std::string> tags = KnownTags();
        size_t pos = 0;
        while ((pos = options.find_first_not_of(" \t,", pos)) != std::string::npos) {
            size_t end = options.find_first_of(" \t,", pos);
            std::string word = options.substr(pos, end == std::string::npos ? end : end - pos);
            pos = end;
            bool known = false;
            std::string sameButCase;
            for (const std::string& tag : tags) {
                known = known || word == tag;
                if (word != tag && SameProfileName(word, tag))
                    sameButCase = tag;
            }
            if (known)
                continue;
            if (!sameButCase.empty()) {
                Add(Severity::Warning, line, section, key,
                    FormatMessageText(IDS_CHECK_TAG_CASE, {key, word, sameButCase}));
                continue;
            }
            std::string nearest = NearestName(word, tags);
            Add(Severity::Warning, line, section, key,
                nearest.empty()
                    ? FormatMessageText(IDS_CHECK_TAG_UNKNOWN, {key, word})
                    : FormatMessageText(IDS_CHECK_TAG_UNKNOWN_NEAR, {key, word, nearest}));
        }
    }

    // Files in the package that no entry and no program names: left out of SETUP.INF, most often.
    void CheckUnnamedPayload() {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::path root(m_folder);
        size_t rootLength = root.generic_string().size();
        std::set<std::string> ignored{PayloadKey(kSetupInfName), "setup.exe", "setup"};
        for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
             it.increment(error)) {
            if (!it->is_regular_file(error))
                continue;
            // The name below the package folder, without asking the file system again.
            std::string relative = it->path().generic_string().substr(rootLength);
            std::string name = PayloadKey(relative);
            if (ignored.count(name) || m_named.count(name))
                continue;
            m_findings.push_back(Finding{Severity::Warning, relative, 0, "", "",
                                         FormatMessageText(IDS_CHECK_UNNAMED_PAYLOAD, {relative})});
        }
    }

    std::string m_folder;
    std::string m_setupInf;
    Findings& m_findings;
    platform::ProfileOutline m_outline;
    std::set<std::string> m_named;
};

} // namespace

int ExitStatusOf(const Findings& findings) {
    int status = 0;
    for (const Finding& finding : findings)
        status = std::max(status, finding.severity == Severity::Error ? 2 : 1);
    return status;
}

Findings CheckPackage(const std::string& folder) {
    Findings findings;
    Checker(folder, findings).Run();
    return findings;
}
