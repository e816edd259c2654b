// Lookup and build speed of the dictionary, beside two baselines: an in-memory
// hash set of the same words, and a binary search over the sorted word list file
// by pread, as look(1) does it. Run with `make bench`.

#include "tools/DictBuilder.h"
#include "wordstore/bpDictTree.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

const TWordSelection& Words() {
    static const TWordSelection selection = SelectWords({DICT_WORD_LIST}, std::nullopt);
    return selection;
}

// Every 7th word as hits; the same words with a "q" appended as misses, leaving
// out the few that are words themselves ("req").
std::vector<std::string> Probes(bool hits) {
    static const std::unordered_set<std::string> known(Words().Words.begin(), Words().Words.end());
    std::vector<std::string> probes;
    const auto& words = Words().Words;
    for (std::size_t i = 0; i < words.size(); i += 7) {
        const std::string probe = hits ? words[i] : words[i] + "q";
        if (hits || known.count(probe) == 0) {
            probes.push_back(probe);
        }
    }
    return probes;
}

void FindWord(benchmark::State& state, bool hits) {
    TBPlusTree tree;
    tree.OpenTree(SHIPPED_STORE_DIR);
    const std::vector<std::string> probes = Probes(hits);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tree.FindWord(probes[i]));
        i = (i + 1) % probes.size();
    }
}
BENCHMARK_CAPTURE(FindWord, hits, true);
BENCHMARK_CAPTURE(FindWord, misses, false);

void UnorderedSet(benchmark::State& state, bool hits) {
    const std::unordered_set<std::string> set(Words().Words.begin(), Words().Words.end());
    const std::vector<std::string> probes = Probes(hits);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(set.count(probes[i]));
        i = (i + 1) % probes.size();
    }
}
BENCHMARK_CAPTURE(UnorderedSet, hits, true);
BENCHMARK_CAPTURE(UnorderedSet, misses, false);

// Binary search over a sorted file of lines: read a window at the middle, skip
// to the next line start, compare; what look(1) does.
class TLookFile {
public:
    explicit TLookFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY)) {
        size_ = ::lseek(fd_, 0, SEEK_END);
    }
    ~TLookFile() { ::close(fd_); }

    // Invariant: the word's line, if it is there, starts in [low, high).
    bool Contains(const std::string& word) const {
        off_t low = 0;
        off_t high = size_;
        while (low < high) {
            const off_t middle = low + (high - low) / 2;
            const off_t start = LineStartAtOrAfter(middle);
            if (start >= high) {
                high = middle; // no line starts in [middle, high)
                continue;
            }
            const std::string line = LineAt(start);
            const int order = line.compare(word);
            if (order == 0) {
                return true;
            }
            if (order < 0) {
                low = start + static_cast<off_t>(line.size()) + 1;
            } else {
                high = middle; // start is the first line start at or after middle
            }
        }
        return false;
    }

private:
    // Lines are at most 22 bytes with their newline, so one small read finds the next start.
    off_t LineStartAtOrAfter(off_t position) const {
        if (position == 0) {
            return 0;
        }
        char window[64];
        const ssize_t got = ::pread(fd_, window, sizeof window, position - 1);
        for (ssize_t k = 0; k < got; ++k) {
            if (window[k] == '\n') {
                return position + k;
            }
        }
        return size_;
    }

    std::string LineAt(off_t start) const {
        char window[64];
        const ssize_t got = ::pread(fd_, window, sizeof window, start);
        ssize_t length = 0;
        while (length < got && window[length] != '\n') {
            ++length;
        }
        return std::string(window, static_cast<std::size_t>(length));
    }

    int fd_;
    off_t size_ = 0;
};

void LookBinarySearch(benchmark::State& state, bool hits) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "lexipede-bench-words.txt").string();
    {
        std::ofstream out(path);
        for (const std::string& word : Words().Words) {
            out << word << '\n';
        }
    }
    const TLookFile file(path);
    const std::vector<std::string> probes = Probes(hits);
    for (const std::string& probe : probes) {
        if (file.Contains(probe) != hits) {
            state.SkipWithError(("the look baseline is wrong about " + probe).c_str());
            return;
        }
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.Contains(probes[i]));
        i = (i + 1) % probes.size();
    }
    std::remove(path.c_str());
}
BENCHMARK_CAPTURE(LookBinarySearch, hits, true);
BENCHMARK_CAPTURE(LookBinarySearch, misses, false);

void BuildFullDictionary(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "lexipede-bench-build";
    std::filesystem::create_directories(folder);
    for (auto _ : state) {
        const TWordSelection selection = SelectWords({DICT_WORD_LIST}, std::nullopt);
        benchmark::DoNotOptimize(WriteStore(folder.string(), "Dict", selection.Words));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BuildFullDictionary)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
