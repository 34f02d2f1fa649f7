// The pass record's lines: what a kill may leave of them, and what makes a record untrustworthy.
#include "platform/PassRecord.h"

#include <gtest/gtest.h>

using platform::ParseRecord;
using platform::RecordEntry;
using platform::RecordKind;

namespace {

std::string Header() {
    return std::string(platform::kPassRecordHeader) + "\n";
}

RecordEntry Entry(RecordKind kind, unsigned folder, unsigned backup, uint64_t volume, uint64_t file,
                  const std::string& name) {
    RecordEntry entry;
    entry.kind = kind;
    entry.folder = folder;
    entry.backup = backup;
    entry.id.volume = volume;
    entry.id.file = file;
    entry.name = name;
    return entry;
}

} // namespace

TEST(PassRecord, EveryKindReadsBackAsWritten) {
    const RecordEntry entries[] = {
        Entry(RecordKind::TargetFolder, 0, 0, 0x803, 0xFFFFFFFFFFFFFFFFull, "/srv/ziel mit Blank"),
        Entry(RecordKind::PrivatePlanned, 3, 0, 0, 0, ".~qzp0"),
        Entry(RecordKind::PrivateMade, 3, 0, 1, 2, ".~qzp0"),
        Entry(RecordKind::Replaced, 1, 4000000000u, 5, 6, " Basis.dll"),
        Entry(RecordKind::Created, 2, 0, 7, 8, "Neu.dll"),
        Entry(RecordKind::FolderPlanned, 0, 0, 0, 0, "C:\\Daten\\Vorlagen"),
        Entry(RecordKind::FolderMade, 0, 0, 9, 10, "C:\\Daten\\Vorlagen"),
        Entry(RecordKind::Committed, 0, 0, 0, 0, ""),
    };
    std::string text = Header();
    for (const RecordEntry& entry : entries) {
        std::string line;
        ASSERT_TRUE(platform::FormatRecordEntry(entry, line));
        text += line;
    }
    std::vector<RecordEntry> read;
    ASSERT_TRUE(ParseRecord(text, read));
    ASSERT_EQ(read.size(), sizeof entries / sizeof entries[0]);
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].kind, entries[i].kind) << i;
        EXPECT_EQ(read[i].name, entries[i].name) << i;
        EXPECT_EQ(read[i].id, entries[i].id) << i;
    }
    EXPECT_EQ(read[3].folder, 1u);
    EXPECT_EQ(read[3].backup, 4000000000u);
}

TEST(PassRecord, NamesThatCannotBeWrittenDownAreRefused) {
    std::string line = "untouched";
    EXPECT_FALSE(
        platform::FormatRecordEntry(Entry(RecordKind::Created, 0, 0, 1, 2, "zwei\nZeilen"), line));
    EXPECT_FALSE(platform::FormatRecordEntry(Entry(RecordKind::Created, 0, 0, 1, 2, ""), line));
    EXPECT_EQ(line, "untouched");
}

TEST(PassRecord, WhatAKillLeavesAndWhatNoPassWrites) {
    struct Case {
        const char* what;
        std::string text;
        bool trusted;
        size_t entries;
    };
    const Case cases[] = {
        {"header only", Header(), true, 0},
        {"a last line cut off", Header() + "N 0 1 2 a\nN 0 3 4 b", true, 1},
        {"a header cut off", std::string(platform::kPassRecordHeader), false, 0},
        {"empty", "", false, 0},
        {"another header", "quarnel-setup pass record 2\nK\n", false, 0},
        {"an unknown kind", Header() + "X 0 1 2 a\n", false, 0},
        {"an identity that is no number", Header() + "N 0 1g 2 a\n", false, 0},
        {"a field missing", Header() + "T 0 1 2 a\n", false, 0},
        {"no name", Header() + "N 0 1 2 \n", false, 0},
        {"a number too long", Header() + "N 0 11111111111111111 2 a\n", false, 0},
        {"a committed mark with more", Header() + "K now\n", false, 0},
    };
    for (const Case& c : cases) {
        std::vector<RecordEntry> entries;
        bool trusted = ParseRecord(c.text, entries);
        EXPECT_EQ(trusted, c.trusted) << c.what;
        if (trusted) {
            EXPECT_EQ(entries.size(), c.entries) << c.what;
        }
    }
}
