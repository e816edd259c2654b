#include "DictChecker.h"

#include "platform/ProgramFolder.h"
#include "wordstore/StoreFormat.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

using namespace StoreFormat;

namespace {

// Enough to say what is wrong without flooding the terminal.
constexpr std::size_t MaxFaults = 20;

std::optional<std::string> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

class TChecker {
public:
    TChecker(std::string indexPath, std::string index, std::string data, TCheckReport& report)
        : indexPath_(std::move(indexPath)), index_(std::move(index)), data_(std::move(data)),
          report_(report), visited_(index_.size() / IndexRecordSize, false) {}

    void Run() {
        if (index_.size() % IndexRecordSize != 0) {
            Fault("index is " + std::to_string(index_.size()) +
                  " bytes, not whole 584-byte records");
        }
        if (data_.size() % DataRecordSize != 0) {
            Fault("data file is " + std::to_string(data_.size()) +
                  " bytes, not whole 24-byte records");
        }
        const std::int64_t records = static_cast<std::int64_t>(index_.size() / IndexRecordSize);
        if (records < 1) {
            Fault("index has no header record");
            return;
        }
        const THeader header = ReadHeader(Record(0));
        report_.WordCount = header.WordCount;
        report_.Height = header.Height;
        report_.NodeCount = records - 1;
        if (header.Height < 0 || header.Height > MaxHeight || header.Height > records - 1) {
            Fault("height " + std::to_string(header.Height) + " impossible with " +
                  std::to_string(records - 1) + " nodes");
            return;
        }
        if (header.Height == 0) {
            if (header.RootRec != NoRecord) {
                Fault("empty tree with root record " + std::to_string(header.RootRec));
            }
        } else if (!IsNodeRecord(header.RootRec)) {
            Fault("root record " + std::to_string(header.RootRec) + " outside the index");
            return;
        } else {
            Visit(header.RootRec, 0, header.Height, std::nullopt, std::nullopt);
        }
        if (report_.ReachableWords != header.WordCount) {
            Fault("header says " + std::to_string(header.WordCount) + " words, the tree reaches " +
                  std::to_string(report_.ReachableWords));
        }
    }

private:
    IndexRecord Record(std::int64_t n) const {
        IndexRecord record;
        std::memcpy(record.data(), index_.data() + n * IndexRecordSize, IndexRecordSize);
        return record;
    }

    bool IsNodeRecord(std::int32_t n) const {
        return n >= 1 && static_cast<std::size_t>(n) < visited_.size();
    }

    void Fault(const std::string& what) {
        if (report_.Faults.size() < MaxFaults) {
            report_.Faults.push_back(indexPath_ + ": " + what);
        }
    }

    void Visit(std::int32_t recordNumber, int depth, int height, std::optional<std::string> low,
               std::optional<std::string> high) {
        if (report_.Faults.size() >= MaxFaults) {
            return;
        }
        const std::string where = "node " + std::to_string(recordNumber);
        if (visited_[recordNumber]) {
            Fault(where + " is reached twice");
            return;
        }
        visited_[recordNumber] = true;
        const IndexRecord record = Record(recordNumber);
        const TNodeView node(record.data());
        const std::int32_t count = node.KeyCount();
        if (count < 0 || count > MaxKeys) {
            Fault(where + " has " + std::to_string(count) + " keys");
            return;
        }
        for (int k = 0; k < count; ++k) {
            const int length = node.KeyLength(k);
            if (length < 1 || length > MaxKeyLength) {
                Fault(where + " key " + std::to_string(k) + " has length " +
                      std::to_string(length));
                return;
            }
            const std::string_view key = node.Key(k);
            if (k > 0 && !(node.Key(k - 1) < key)) {
                Fault(where + " keys " + std::to_string(k - 1) + " and " + std::to_string(k) +
                      " are not ascending");
            }
            if ((low && key < *low) || (high && key >= *high)) {
                Fault(where + " key \"" + std::string(key) +
                      "\" lies outside the range its parent gives it");
            }
        }
        const bool leaf = depth == height - 1;
        if (leaf) {
            CheckLeaf(node, where, count);
            return;
        }
        for (int slot = 0; slot <= count; ++slot) {
            const std::int32_t child = node.Pointer(slot);
            if (!IsNodeRecord(child)) {
                Fault(where + " child pointer " + std::to_string(slot) + " = " +
                      std::to_string(child) + " outside the index");
                continue;
            }
            std::optional<std::string> childLow =
                slot == 0 ? low : std::optional(std::string(node.Key(slot - 1)));
            std::optional<std::string> childHigh =
                slot == count ? high : std::optional(std::string(node.Key(slot)));
            Visit(child, depth + 1, height, childLow, childHigh);
        }
    }

    void CheckLeaf(const TNodeView& node, const std::string& where, std::int32_t count) {
        if (node.Pointer(0) != NoRecord) {
            Fault(where + " is a leaf whose slot 0 is " + std::to_string(node.Pointer(0)) +
                  ", not -1");
        }
        const std::int64_t dataRecords = static_cast<std::int64_t>(data_.size() / DataRecordSize);
        for (int slot = 1; slot <= count; ++slot) {
            const std::int32_t pointer = node.Pointer(slot);
            if (pointer == NoRecord) {
                continue;
            }
            if (pointer < 0 || pointer >= dataRecords) {
                Fault(where + " data pointer " + std::to_string(slot) + " = " +
                      std::to_string(pointer) + " outside the data file");
                continue;
            }
            DataRecord record;
            std::memcpy(record.data(), data_.data() + pointer * DataRecordSize, DataRecordSize);
            if (record[DataLength] > MaxWordLength ||
                DataRecordWord(record) != node.Key(slot - 1)) {
                Fault("data record " + std::to_string(pointer) + " does not hold its key \"" +
                      std::string(node.Key(slot - 1)) + "\"");
            }
            ++report_.ReachableWords;
        }
    }

    std::string indexPath_;
    std::string index_;
    std::string data_;
    TCheckReport& report_;
    std::vector<bool> visited_;
};

} // namespace

TCheckReport CheckStore(const std::string& folder, const std::string& stem) {
    const std::string prefix = FolderPrefix(folder);
    TCheckReport report;
    const std::string indexPath = prefix + stem + ".idx";
    const std::string dataPath = prefix + stem + ".dat";
    const auto index = ReadAll(indexPath);
    const auto data = ReadAll(dataPath);
    if (!index) {
        report.Faults.push_back(indexPath + ": cannot read: " + std::strerror(errno));
    }
    if (!data) {
        report.Faults.push_back(dataPath + ": cannot read: " + std::strerror(errno));
    }
    if (index && data) {
        TChecker(indexPath, *index, *data, report).Run();
    }
    return report;
}
