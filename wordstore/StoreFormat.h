#pragma once

// The record layouts shared by the dictionary and the bonus word store, and by
// the tool that builds their files. All integers are 32-bit signed little-endian;
// strings are a length byte followed by their characters in a fixed-width field.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace StoreFormat {

constexpr std::size_t IndexRecordSize = 584;
constexpr std::size_t DataRecordSize = 24;

// Order 23: at most 22 keys and 23 pointers per node.
constexpr int MaxKeys = 22;
constexpr int PointerSlots = MaxKeys + 1;
constexpr std::size_t KeyFieldWidth = 22; // length byte + 21 characters
constexpr int MaxKeyLength = 21;
constexpr int MaxWordLength = 22; // what a data record's 22 characters can hold

// No real tree is anywhere near this deep; a larger Height is damage.
constexpr int MaxHeight = 32;

// Header record (index record 0).
constexpr std::size_t HeaderWordCount = 8;
constexpr std::size_t HeaderRootRec = 12;
constexpr std::size_t HeaderHeight = 32;

// Node records (index records 1 onward).
constexpr std::size_t NodeKeyCount = 4;
constexpr std::size_t NodeKeys = 8;
constexpr std::size_t NodePointers = NodeKeys + MaxKeys * KeyFieldWidth; // 492
static_assert(NodePointers + PointerSlots * 4 == IndexRecordSize);

// Data records.
constexpr std::size_t DataLength = 1;
constexpr std::size_t DataChars = 2;

// A leaf pointer slot holding this value marks its key as absent; leaf slot 0 always holds it.
constexpr std::int32_t NoRecord = -1;

using IndexRecord = std::array<std::uint8_t, IndexRecordSize>;
using DataRecord = std::array<std::uint8_t, DataRecordSize>;

inline std::int32_t GetInt32(const std::uint8_t* at) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
        static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
    return static_cast<std::int32_t>(value);
}

inline void PutInt32(std::uint8_t* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    at[0] = static_cast<std::uint8_t>(bits);
    at[1] = static_cast<std::uint8_t>(bits >> 8);
    at[2] = static_cast<std::uint8_t>(bits >> 16);
    at[3] = static_cast<std::uint8_t>(bits >> 24);
}

struct THeader {
    std::int32_t WordCount = 0;
    std::int32_t RootRec = NoRecord;
    std::int32_t Height = 0;
};

inline THeader ReadHeader(const IndexRecord& record) {
    return {GetInt32(&record[HeaderWordCount]), GetInt32(&record[HeaderRootRec]),
            GetInt32(&record[HeaderHeight])};
}

// The header of a newly created store, with the three fields a store reads set
// as given. The other fields are not read by either store.
inline IndexRecord MakeHeader(const THeader& header) {
    IndexRecord record{};
    record[0] = 1;
    PutInt32(&record[4], 0);
    PutInt32(&record[HeaderWordCount], header.WordCount);
    PutInt32(&record[HeaderRootRec], header.RootRec);
    PutInt32(&record[16], 1);
    PutInt32(&record[20], 0);
    PutInt32(&record[24], -1);
    PutInt32(&record[28], -1);
    PutInt32(&record[HeaderHeight], header.Height);
    return record;
}

// Read access to one node record in place, without copying its keys.
class TNodeView {
public:
    explicit TNodeView(const std::uint8_t* record) : record_(record) {}

    std::int32_t KeyCount() const { return GetInt32(record_ + NodeKeyCount); }
    int KeyLength(int slot) const { return record_[NodeKeys + slot * KeyFieldWidth]; }
    std::string_view Key(int slot) const {
        const auto* field = record_ + NodeKeys + slot * KeyFieldWidth;
        return {reinterpret_cast<const char*>(field + 1), field[0]};
    }
    std::int32_t Pointer(int slot) const { return GetInt32(record_ + NodePointers + slot * 4); }

    // The number of keys in use that are less than or equal to word: the scan
    // stops at the first greater key. Keys compare as unsigned bytes, the
    // shorter first when one is a prefix of the other.
    int CountKeysNotAbove(std::string_view word) const {
        const int count = KeyCount();
        int j = 0;
        while (j < count && Key(j).compare(word) <= 0) {
            ++j;
        }
        return j;
    }

private:
    const std::uint8_t* record_;
};

// Writes into a node record.
inline void SetKeyCount(IndexRecord& record, std::int32_t count) {
    PutInt32(&record[NodeKeyCount], count);
}

inline void SetKey(IndexRecord& record, int slot, std::string_view key) {
    auto* field = &record[NodeKeys + slot * KeyFieldWidth];
    field[0] = static_cast<std::uint8_t>(key.size());
    std::memcpy(field + 1, key.data(), key.size());
}

inline void SetPointer(IndexRecord& record, int slot, std::int32_t pointer) {
    PutInt32(&record[NodePointers + slot * 4], pointer);
}

inline DataRecord MakeDataRecord(std::string_view word) {
    DataRecord record{};
    record[DataLength] = static_cast<std::uint8_t>(word.size());
    std::memcpy(&record[DataChars], word.data(), word.size());
    return record;
}

// The word of a data record; a length byte above 22 counts as 22, the most the
// record holds.
inline std::string_view DataRecordWord(const DataRecord& record) {
    const std::size_t length =
        record[DataLength] > MaxWordLength ? MaxWordLength : record[DataLength];
    return {reinterpret_cast<const char*>(&record[DataChars]), length};
}

} // namespace StoreFormat
