// lexidict: builds and checks the word store files the game reads.
//
//   lexidict build --stem Dict [--length N] [--exclude FILE] --out FOLDER LIST...
//   lexidict select [--length N] [--exclude FILE] --out FILE LIST...
//   lexidict check --stem Dict FOLDER
//
// Exit status: 0 on success, 1 for bad input or a faulty store, 2 for wrong usage.

#include "DictBuilder.h"
#include "DictChecker.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::cerr
        << "usage: lexidict build --stem STEM [--length N] [--exclude FILE] --out FOLDER LIST...\n"
           "       lexidict select [--length N] [--exclude FILE] --out FILE LIST...\n"
           "       lexidict check --stem STEM FOLDER\n"
           "STEM is Dict or Bonus; the files are STEM.idx and STEM.dat. select writes the\n"
           "words build would keep, one per line. The words of the exclusion FILE are left\n"
           "out; \"#\" starts a comment there.\n";
    return 2;
}

struct TOptions {
    std::string Stem;
    std::string Out;
    std::string Exclude;
    std::optional<int> Length;
    std::vector<std::string> Lists;
};

TWordSelection Select(const TOptions& options) {
    const std::set<std::string> excluded =
        options.Exclude.empty() ? std::set<std::string>{} : ReadExclusions(options.Exclude);
    return SelectWords(options.Lists, options.Length, excluded);
}

void Summarise(const std::string& what, const TWordSelection& selection) {
    std::cout << what << ": kept " << selection.Kept << " words, excluded " << selection.Excluded
              << ", skipped " << selection.Skipped << " lines";
}

int Build(const TOptions& options) {
    const TWordSelection selection = Select(options);
    const TTreeShape shape = WriteStore(options.Out, options.Stem, selection.Words);
    Summarise(options.Stem, selection);
    std::cout << "; height " << shape.Height << ", " << shape.NodeCount << " nodes\n";
    return 0;
}

int SelectOnly(const TOptions& options) {
    const TWordSelection selection = Select(options);
    WriteWordList(options.Out, selection.Words);
    Summarise(options.Out, selection);
    std::cout << '\n';
    return 0;
}

int Check(const std::string& stem, const std::string& folder) {
    const TCheckReport report = CheckStore(folder, stem);
    if (!report.Sound()) {
        for (const std::string& fault : report.Faults) {
            std::cerr << "fault: " << fault << '\n';
        }
        return 1;
    }
    std::cout << stem << ": " << report.WordCount << " words, height " << report.Height << ", "
              << report.NodeCount << " nodes: sound\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage();
    }
    const std::string command = args[0];
    TOptions options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--stem" && hasValue) {
            options.Stem = args[++i];
        } else if (arg == "--out" && hasValue) {
            options.Out = args[++i];
        } else if (arg == "--exclude" && hasValue) {
            options.Exclude = args[++i];
        } else if (arg == "--length" && hasValue) {
            char* end = nullptr;
            const long value = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || value < 1 || value > 21) {
                std::cerr << "lexidict: --length takes a number from 1 to 21\n";
                return 2;
            }
            options.Length = static_cast<int>(value);
        } else if (arg.rfind("--", 0) == 0) {
            return Usage();
        } else {
            options.Lists.push_back(arg);
        }
    }
    const bool stemUsable = !options.Stem.empty() && options.Stem.find('/') == std::string::npos;
    const bool hasSources = !options.Out.empty() && !options.Lists.empty();
    try {
        if (command == "build" && stemUsable && hasSources) {
            return Build(options);
        }
        if (command == "select" && options.Stem.empty() && hasSources) {
            return SelectOnly(options);
        }
        if (command == "check" && stemUsable && options.Lists.size() == 1) {
            return Check(options.Stem, options.Lists[0]);
        }
    } catch (const EBuildError& error) {
        std::cerr << "lexidict: " << error.what() << '\n';
        return 1;
    }
    return Usage();
}
