#include "DictBuilder.h"

#include "platform/ProgramFolder.h"
#include "wordstore/StoreFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace StoreFormat;

namespace {

// Length in bytes of the UTF-8 sequence starting at text[i], or 0 when it is malformed.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool IsValidText(const std::string& line) {
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '\0') {
            return false;
        }
        const std::size_t length = Utf8SequenceLength(line, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

bool IsUsableWord(const std::string& line, std::optional<int> exactLength) {
    const auto length = static_cast<int>(line.size());
    if (length < 1 || length > MaxKeyLength || (exactLength && length != *exactLength)) {
        return false;
    }
    return std::all_of(line.begin(), line.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw EBuildError("cannot read word list " + path + ": " + std::strerror(errno));
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        throw EBuildError("cannot read word list " + path + ": " + std::strerror(errno));
    }
    return std::move(text).str();
}

struct TNodeRef {
    std::int32_t Record;
    std::string FirstKey; // smallest key in the subtree, the separator to its left
};

// Splits count items into the fewest groups of at most capacity, sizes differing by at most one.
std::vector<std::size_t> BalancedGroups(std::size_t count, std::size_t capacity) {
    const std::size_t groups = (count + capacity - 1) / capacity;
    std::vector<std::size_t> sizes(groups, count / groups);
    for (std::size_t g = 0; g < count % groups; ++g) {
        ++sizes[g];
    }
    return sizes;
}

void WriteFileOrThrow(const std::string& path, const void* bytes, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw EBuildError("cannot create " + path + ": " + std::strerror(errno));
    }
    const bool written = size == 0 || std::fwrite(bytes, 1, size, file) == size;
    const int writeErrno = errno;
    const bool flushed = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed) {
        std::remove(path.c_str());
        throw EBuildError("cannot write " + path + ": " +
                          std::strerror(written ? errno : writeErrno));
    }
}

} // namespace

TWordSelection SelectWords(const std::vector<std::string>& listPaths,
                           std::optional<int> exactLength, const std::set<std::string>& excluded) {
    TWordSelection selection;
    for (const std::string& path : listPaths) {
        const std::string text = ReadWholeFile(path);
        std::size_t lineNumber = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string line = text.substr(start, end - start);
            start = end + 1;
            ++lineNumber;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!IsValidText(line)) {
                throw EBuildError(
                    path + ":" + std::to_string(lineNumber) +
                    ": not a text line (invalid UTF-8 or a NUL byte); is this a word list?");
            }
            if (IsUsableWord(line, exactLength)) {
                selection.Words.push_back(std::move(line));
            } else {
                ++selection.Skipped;
            }
        }
    }
    // std::string compares its characters as unsigned bytes, the shorter first
    // when one is a prefix of the other: the store's key order.
    std::sort(selection.Words.begin(), selection.Words.end());
    const auto repeats = std::unique(selection.Words.begin(), selection.Words.end());
    selection.Skipped += selection.Words.end() - repeats;
    selection.Words.erase(repeats, selection.Words.end());
    const auto kept =
        std::remove_if(selection.Words.begin(), selection.Words.end(),
                       [&excluded](const std::string& w) { return excluded.count(w); });
    selection.Excluded = selection.Words.end() - kept;
    selection.Words.erase(kept, selection.Words.end());
    selection.Kept = static_cast<std::int64_t>(selection.Words.size());
    return selection;
}

std::set<std::string> ReadExclusions(const std::string& path) {
    const std::string text = ReadWholeFile(path);
    std::set<std::string> words;
    std::istringstream lines(text);
    std::string line;
    for (int lineNumber = 1; std::getline(lines, line); ++lineNumber) {
        std::istringstream tokens(line.substr(0, line.find('#')));
        std::string word;
        while (tokens >> word) {
            if (!IsUsableWord(word, std::nullopt)) {
                throw EBuildError(path + ":" + std::to_string(lineNumber) + ": \"" + word +
                                  "\" is not a word of the letters a-z");
            }
            words.insert(word);
        }
    }
    return words;
}

void WriteWordList(const std::string& path, const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += word;
        text += '\n';
    }
    WriteFileOrThrow(path, text.data(), text.size());
}

TTreeShape WriteStore(const std::string& folder, const std::string& stem,
                      const std::vector<std::string>& sortedWords) {
    const std::string prefix = FolderPrefix(folder);

    std::vector<DataRecord> data;
    data.reserve(sortedWords.size());
    for (const std::string& word : sortedWords) {
        data.push_back(MakeDataRecord(word));
    }

    std::vector<IndexRecord> index(1); // record 0 is the header, filled in last
    std::vector<TNodeRef> level;
    TTreeShape shape;

    if (!sortedWords.empty()) {
        std::size_t next = 0;
        for (std::size_t size : BalancedGroups(sortedWords.size(), MaxKeys)) {
            IndexRecord leaf{};
            SetKeyCount(leaf, static_cast<std::int32_t>(size));
            SetPointer(leaf, 0, NoRecord);
            for (std::size_t k = 0; k < size; ++k) {
                SetKey(leaf, static_cast<int>(k), sortedWords[next + k]);
                SetPointer(leaf, static_cast<int>(k) + 1, static_cast<std::int32_t>(next + k));
            }
            level.push_back({static_cast<std::int32_t>(index.size()), sortedWords[next]});
            index.push_back(leaf);
            next += size;
        }
        shape.Height = 1;
        while (level.size() > 1) {
            std::vector<TNodeRef> parents;
            std::size_t first = 0;
            for (std::size_t children : BalancedGroups(level.size(), PointerSlots)) {
                IndexRecord node{};
                SetKeyCount(node, static_cast<std::int32_t>(children - 1));
                for (std::size_t c = 0; c < children; ++c) {
                    SetPointer(node, static_cast<int>(c), level[first + c].Record);
                    if (c > 0) {
                        SetKey(node, static_cast<int>(c) - 1, level[first + c].FirstKey);
                    }
                }
                parents.push_back({static_cast<std::int32_t>(index.size()), level[first].FirstKey});
                index.push_back(node);
                first += children;
            }
            level = std::move(parents);
            ++shape.Height;
        }
        shape.RootRec = level.front().Record;
    }
    shape.NodeCount = static_cast<std::int64_t>(index.size()) - 1;
    index[0] =
        MakeHeader({static_cast<std::int32_t>(sortedWords.size()), shape.RootRec, shape.Height});

    const std::string indexPath = prefix + stem + ".idx";
    const std::string dataPath = prefix + stem + ".dat";
    const std::string suffix = ".tmp" + std::to_string(::getpid());
    WriteFileOrThrow(dataPath + suffix, data.data(), data.size() * DataRecordSize);
    try {
        WriteFileOrThrow(indexPath + suffix, index.data(), index.size() * IndexRecordSize);
    } catch (...) {
        std::remove((dataPath + suffix).c_str());
        throw;
    }
    if (std::rename((dataPath + suffix).c_str(), dataPath.c_str()) != 0 ||
        std::rename((indexPath + suffix).c_str(), indexPath.c_str()) != 0) {
        const int code = errno;
        std::remove((dataPath + suffix).c_str());
        std::remove((indexPath + suffix).c_str());
        throw EBuildError("cannot put " + stem + " files in place in " + folder + ": " +
                          std::strerror(code));
    }
    return shape;
}
