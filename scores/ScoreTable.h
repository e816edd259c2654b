#pragma once

// The high-score table and its file records. SCORES.DAT is a sequence of whole
// 308-byte table records; a saved file holds exactly one.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A score entry, 28 bytes in the file: a name length (0 to 20), 20 name bytes,
// 3 bytes of padding, and the score as a little-endian int32. Score 0 is an
// empty entry.
struct TScoreEntry {
    static constexpr std::size_t RecordSize = 28;
    static constexpr std::size_t MaxName = 20;

    std::string Name; // single bytes (Latin-1), at most 20
    std::int32_t Score = 0;

    bool operator==(const TScoreEntry&) const = default;
};

// Eleven entries: 0 to 9 are the table as shown, best first; 10 is the working
// slot of a placement, which after a save holds the entry that dropped out.
struct TScoreTable {
    static constexpr int Entries = 11;
    static constexpr int Shown = 10;
    static constexpr int WorkingSlot = 10;
    static constexpr std::size_t RecordSize = Entries * TScoreEntry::RecordSize;
    static_assert(RecordSize == 308);

    std::array<TScoreEntry, Entries> Entry;

    using Record = std::array<std::uint8_t, RecordSize>;
    Record Encode() const;
    // A length byte above 20 counts as 20, so a damaged entry never reads past its field.
    static TScoreTable Decode(const Record& record);

    bool operator==(const TScoreTable&) const = default;
};

// The placeholder that marks a new score during placement; compared with a
// whole name, length included.
inline constexpr std::string_view NewEntryPlaceholder = "-X$*^*$X-";

// The placement pass over entries first..last, exactly as the table has always
// done it: from last down to first, swap into entry p the first entry of the
// highest score among p..last (equal scores never replace the best), and note
// where the placeholder lands. That entry becomes an empty name with score -1;
// its position is returned.
int SortScores(TScoreTable& table, int first, int last);
