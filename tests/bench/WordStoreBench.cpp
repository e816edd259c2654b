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

// Every 7th word as hits; the same words with a "q" appended (none are words) as misses.
std::vector<std::string> Probes(bool hits) {
    std::vector<std::string> probes;
    const auto& words = Words().Words;
    for (std::size_t i = 0; i < words.size(); i += 7) {
        probes.push_back(hits ? words[i] : words[i] + "q");
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

    bool Contains(const std::string& word) const {
        off_t low = 0;
        off_t high = size_;
        char window[64];
        while (low < high) {
            const off_t middle = low + (high - low) / 2;
            // The line that starts at or after middle.
            const ssize_t got = ::pread(fd_, window, sizeof window, middle);
            off_t start = middle;
            ssize_t k = 0;
            if (middle > 0) {
                while (k < got && window[k] != '\n') {
                    ++k;
                }
                ++k;
                start = middle + k;
            }
            if (start >= high) {
                high = middle;
                continue;
            }
            char line[64];
            const ssize_t lineGot = ::pread(fd_, line, sizeof line, start);
            ssize_t length = 0;
            while (length < lineGot && line[length] != '\n') {
                ++length;
            }
            const int order = std::string_view(line, static_cast<std::size_t>(length)).compare(word);
            if (order == 0) {
                return true;
            }
            if (order < 0) {
                low = start + length + 1;
            } else {
                high = middle;
            }
        }
        // low may be the start of the first line, which the loop never reads.
        char first[64];
        const ssize_t got = ::pread(fd_, first, sizeof first, 0);
        ssize_t length = 0;
        while (length < got && first[length] != '\n') {
            ++length;
        }
        return std::string_view(first, static_cast<std::size_t>(length)) == word;
    }

private:
    int fd_;
    off_t size_ = 0;
};

void LookBinarySearch(benchmark::State& state, bool hits) {
    const std::string path = (std::filesystem::temp_directory_path() / "lexipede-bench-words.txt").string();
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
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lexipede-bench-build";
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
