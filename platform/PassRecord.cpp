#include "platform/PassRecord.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace platform {

const char kPassRecordHeader[] = "quarnel-setup pass record 1";

namespace {

// Which fields a kind carries, in the order they are written; the name always comes last.
struct KindFields {
    RecordKind kind;
    bool folder;
    bool backup;
    bool id;
    bool name;
};

constexpr KindFields kKinds[] = {
    {RecordKind::TargetFolder, false, false, true, true},
    {RecordKind::PrivatePlanned, true, false, false, true},
    {RecordKind::PrivateMade, true, false, true, true},
    {RecordKind::Replaced, true, true, true, true},
    {RecordKind::Created, true, false, true, true},
    {RecordKind::Temporary, true, false, false, true},
    {RecordKind::FolderPlanned, false, false, false, true},
    {RecordKind::FolderMade, false, false, true, true},
    {RecordKind::Committed, false, false, false, false},
};

const KindFields* FieldsOf(char kind) {
    for (const KindFields& fields : kKinds)
        if (static_cast<char>(fields.kind) == kind)
            return &fields;
    return nullptr;
}

// Reads one unsigned decimal or hexadecimal field followed by a blank (or the line's end when
// `last`); advances `at`.
bool ReadNumber(const std::string& line, size_t& at, int base, uint64_t& value) {
    size_t end = line.find(' ', at);
    if (end == std::string::npos)
        end = line.size();
    if (end == at || end - at > 16)
        return false;
    value = 0;
    for (size_t i = at; i < end; ++i) {
        const char c = line[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
        if (digit >= base)
            return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    at = end < line.size() ? end + 1 : end;
    return true;
}

bool ParseLine(const std::string& line, RecordEntry& entry) {
    const KindFields* fields = line.empty() ? nullptr : FieldsOf(line[0]);
    if (!fields)
        return false;
    entry = RecordEntry();
    entry.kind = fields->kind;
    if (!fields->name && !fields->folder && !fields->id)
        return line.size() == 1;
    if (line.size() < 2 || line[1] != ' ')
        return false;
    size_t at = 2;
    uint64_t value = 0;
    if (fields->folder) {
        if (!ReadNumber(line, at, 10, value) || value > 0xFFFFFFFFu)
            return false;
        entry.folder = static_cast<unsigned>(value);
    }
    if (fields->backup) {
        if (!ReadNumber(line, at, 10, value) || value > 0xFFFFFFFFu)
            return false;
        entry.backup = static_cast<unsigned>(value);
    }
    if (fields->id) {
        if (!ReadNumber(line, at, 16, entry.id.volume) || !ReadNumber(line, at, 16, entry.id.file))
            return false;
    }
    if (at > line.size())
        return false;
    entry.name = line.substr(at);
    return !entry.name.empty();
}

} // namespace

bool FormatRecordEntry(const RecordEntry& entry, std::string& line) {
    const KindFields* fields = FieldsOf(static_cast<char>(entry.kind));
    if (!fields || entry.name.find_first_of("\r\n") != std::string::npos ||
        (fields->name && entry.name.empty()))
        return false;
    line.assign(1, static_cast<char>(entry.kind));
    char number[48];
    if (fields->folder) {
        std::snprintf(number, sizeof number, " %u", entry.folder);
        line += number;
    }
    if (fields->backup) {
        std::snprintf(number, sizeof number, " %u", entry.backup);
        line += number;
    }
    if (fields->id) {
        std::snprintf(number, sizeof number, " %" PRIx64 " %" PRIx64, entry.id.volume,
                      entry.id.file);
        line += number;
    }
    if (fields->name)
        line += " " + entry.name;
    line += '\n';
    return true;
}

bool ParseRecord(const std::string& text, std::vector<RecordEntry>& entries) {
    entries.clear();
    size_t start = 0;
    bool first = true;
    for (;;) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break; // a line cut off by a kill, or nothing
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kPassRecordHeader)
                return false;
            first = false;
            continue;
        }
        RecordEntry entry;
        if (!ParseLine(line, entry))
            return false;
        entries.push_back(std::move(entry));
    }
    return !first;
}

bool SummarizeRecord(const std::vector<RecordEntry>& entries, RecordSummary& summary) {
    summary = RecordSummary();
    for (const RecordEntry& entry : entries) {
        const bool inFolder =
            entry.kind == RecordKind::PrivatePlanned || entry.kind == RecordKind::PrivateMade ||
            entry.kind == RecordKind::Replaced || entry.kind == RecordKind::Created;
        if (inFolder && entry.folder >= summary.folders.size())
            return false;
        switch (entry.kind) {
        case RecordKind::TargetFolder:
            summary.folders.push_back({entry.name, entry.id, {}});
            break;
        case RecordKind::PrivatePlanned:
            summary.folders[entry.folder].privates.push_back({entry.name, false, {}});
            break;
        case RecordKind::PrivateMade:
            for (RecordSummary::PrivateFolder& own : summary.folders[entry.folder].privates)
                if (own.name == entry.name) {
                    own.identityKnown = true;
                    own.id = entry.id;
                }
            break;
        case RecordKind::Replaced: {
            bool updated = false;
            for (RecordEntry& known : summary.replaced)
                if (known.backup == entry.backup) {
                    known = entry;
                    updated = true;
                }
            if (!updated)
                summary.replaced.push_back(entry);
            break;
        }
        case RecordKind::Created:
            summary.created.push_back(entry);
            break;
        case RecordKind::Temporary:
            summary.temporaries.push_back(entry);
            break;
        case RecordKind::FolderPlanned:
            summary.foldersPlanned.push_back(entry);
            break;
        case RecordKind::FolderMade:
            summary.foldersMade.push_back(entry);
            break;
        case RecordKind::Committed:
            summary.committed = true;
            break;
        }
    }
    // A folder written down as made is no longer only planned.
    std::vector<RecordEntry> planned;
    for (const RecordEntry& entry : summary.foldersPlanned) {
        bool made = false;
        for (const RecordEntry& done : summary.foldersMade)
            made = made || done.name == entry.name;
        if (!made)
            planned.push_back(entry);
    }
    summary.foldersPlanned.swap(planned);
    return true;
}

const RecordSummary::PrivateFolder* ProvenPrivate(const RecordSummary::Folder& folder) {
    for (const RecordSummary::PrivateFolder& own : folder.privates)
        if (own.identityKnown)
            return &own;
    return nullptr;
}

std::string BackupName(unsigned number) {
    return "b" + std::to_string(number);
}

} // namespace platform
