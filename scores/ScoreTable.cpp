#include "ScoreTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

TScoreTable::Record TScoreTable::Encode() const {
    Record record{};
    for (int k = 0; k < Entries; ++k) {
        std::uint8_t* at = record.data() + k * TScoreEntry::RecordSize;
        const TScoreEntry& entry = Entry[k];
        const std::size_t length = std::min(entry.Name.size(), TScoreEntry::MaxName);
        at[0] = static_cast<std::uint8_t>(length);
        std::memcpy(at + 1, entry.Name.data(), length);
        const auto score = static_cast<std::uint32_t>(entry.Score);
        for (int b = 0; b < 4; ++b) {
            at[24 + b] = static_cast<std::uint8_t>(score >> (8 * b));
        }
    }
    return record;
}

TScoreTable TScoreTable::Decode(const Record& record) {
    TScoreTable table;
    for (int k = 0; k < Entries; ++k) {
        const std::uint8_t* at = record.data() + k * TScoreEntry::RecordSize;
        const std::size_t length = std::min<std::size_t>(at[0], TScoreEntry::MaxName);
        table.Entry[k].Name.assign(reinterpret_cast<const char*>(at + 1), length);
        std::uint32_t score = 0;
        for (int b = 3; b >= 0; --b) {
            score = score << 8 | at[24 + b];
        }
        table.Entry[k].Score = static_cast<std::int32_t>(score);
    }
    return table;
}

int SortScores(TScoreTable& table, int first, int last) {
    int position = last;
    for (int p = last; p >= first; --p) {
        int best = p;
        for (int q = p + 1; q <= last; ++q) {
            if (table.Entry[q].Score > table.Entry[best].Score) {
                best = q;
            }
        }
        std::swap(table.Entry[p], table.Entry[best]);
        if (table.Entry[p].Name == NewEntryPlaceholder) {
            position = p;
        }
    }
    table.Entry[position] = TScoreEntry{"", -1};
    return position;
}
