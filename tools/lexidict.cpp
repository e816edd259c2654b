// lexidict: builds and checks the word store files the game reads.
//
//   lexidict build --stem Dict [--length N] --out FOLDER LIST...
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
    std::cerr << "usage: lexidict build --stem STEM [--length N] --out FOLDER LIST...\n"
                 "       lexidict check --stem STEM FOLDER\n"
                 "STEM is Dict or Bonus; the files are STEM.idx and STEM.dat.\n";
    return 2;
}

int Build(const std::string& stem, std::optional<int> length, const std::string& out,
          const std::vector<std::string>& lists) {
    const TWordSelection selection = SelectWords(lists, length);
    const TTreeShape shape = WriteStore(out, stem, selection.Words);
    std::cout << stem << ": kept " << selection.Kept << " words, skipped " << selection.Skipped
              << " lines; height " << shape.Height << ", " << shape.NodeCount << " nodes\n";
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
    std::string stem;
    std::string out;
    std::optional<int> length;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--stem" && hasValue) {
            stem = args[++i];
        } else if (arg == "--out" && hasValue) {
            out = args[++i];
        } else if (arg == "--length" && hasValue) {
            char* end = nullptr;
            const long value = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || value < 1 || value > 21) {
                std::cerr << "lexidict: --length takes a number from 1 to 21\n";
                return 2;
            }
            length = static_cast<int>(value);
        } else if (arg.rfind("--", 0) == 0) {
            return Usage();
        } else {
            rest.push_back(arg);
        }
    }
    if (stem.empty() || stem.find('/') != std::string::npos) {
        return Usage();
    }
    try {
        if (command == "build" && !out.empty() && !rest.empty()) {
            return Build(stem, length, out, rest);
        }
        if (command == "check" && rest.size() == 1) {
            return Check(stem, rest[0]);
        }
    } catch (const EBuildError& error) {
        std::cerr << "lexidict: " << error.what() << '\n';
        return 1;
    }
    return Usage();
}
