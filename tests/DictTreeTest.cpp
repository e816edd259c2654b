#include "StoreFixture.h"
#include "platform/InOutError.h"
#include "tools/DictBuilder.h"
#include "wordstore/StoreFormat.h"
#include "wordstore/bpDictTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A height-3 tree, written node by node:
//
//                     7: [dog]
//          5: [cat]               6: [fox]
//   1: [ant bee]  2: [cat cow]  3: [dog eel]  4: [fox gnu(-1)]
TStoreLayout HeightThreeTree() {
    TStoreLayout layout;
    layout.WordCount = 7;
    layout.RootRec = 7;
    layout.Height = 3;
    layout.Nodes = {
        {{"ant", "bee"}, {-1, 0, 1}},
        {{"cat", "cow"}, {-1, 2, 3}},
        {{"dog", "eel"}, {-1, 4, 5}},
        {{"fox", "gnu"}, {-1, 6, -1}},
        {{"cat"}, {1, 2}},
        {{"fox"}, {3, 4}},
        {{"dog"}, {5, 6}},
    };
    layout.Data = {"ant", "bee", "cat", "cow", "dog", "eel", "fox", "gnu"};
    return layout;
}

struct TLookup {
    const char* Word;
    bool Found;
    std::int32_t Record;
    const char* Why;
};

TEST(DictTree, heightThreeTreeAnswersEveryKindOfWord) {
    TTempFolder folder;
    WriteStoreFiles(folder.Path(), "Dict", HeightThreeTree());
    TBPlusTree tree;
    tree.OpenTree(folder.Path());
    EXPECT_EQ(tree.WordCount(), 7);

    const TLookup lookups[] = {
        {"dog", true, 4, "equal to the root separator: found in the right child"},
        {"cat", true, 2, "equal to an inner separator"},
        {"fox", true, 6, "separator on the right branch"},
        {"ant", true, 0, "first key of all"},
        {"eel", true, 5, "above every key of its leaf: pointer slot n"},
        {"aardvark", false, -1, "below every key: leaf slot 0"},
        {"zebra", false, -1, "above every key of the tree"},
        {"elk", false, -1, "between the last key of a leaf and the next separator"},
        {"gnu", false, -1, "its leaf pointer holds -1"},
        {"co", false, -1, "a prefix of a key"},
        {"cows", false, -1, "a key is a prefix of it"},
        {"DOG", false, -1, "no case folding in the store"},
        {"", false, -1, "the empty word"},
        {"dogdogdogdogdogdogdogdog", false, -1, "longer than any key can be"},
    };
    for (const TLookup& lookup : lookups) {
        EXPECT_EQ(tree.FindWord(lookup.Word), lookup.Found) << lookup.Word << ": " << lookup.Why;
        EXPECT_EQ(tree.CurrentRecordNumber(), lookup.Record) << lookup.Word;
        if (lookup.Found) {
            EXPECT_EQ(StoreFormat::DataRecordWord(tree.CurrentRecord()), lookup.Word);
        }
    }
}

TEST(DictTree, leafRootAnswersFromTheRootAndReadsOnlyTheDataOfAFoundWord) {
    TTempFolder folder;
    TStoreLayout layout;
    layout.WordCount = 2;
    layout.RootRec = 1;
    layout.Height = 1;
    layout.Nodes = {{{"cat", "cats"}, {-1, 0, 1}}};
    layout.Data = {"cat", "cats"};
    WriteStoreFiles(folder.Path(), "Dict", layout);
    TBPlusTree tree;
    tree.OpenTree(folder.Path() + "/"); // a trailing "/" is accepted too
    EXPECT_TRUE(tree.FindWord("cat"));
    EXPECT_TRUE(tree.FindWord("cats"));
    EXPECT_FALSE(tree.FindWord("ca"));

    // With the data file emptied under the open store, a miss still answers
    // (nothing is read) while a hit must read its record and fails.
    TruncateFile(folder.File("Dict.dat"), 0);
    EXPECT_FALSE(tree.FindWord("dog"));
    EXPECT_THROW(tree.FindWord("cat"), EInOutError);
    EXPECT_EQ(tree.CurrentRecordNumber(), -1) << "a failed read never counts as found";
}

TEST(DictTree, missingIndexGivesAnEmptyStoreAndLeavesTheDataFileAlone) {
    TTempFolder folder;
    WriteBytes(folder.File("Dict.dat"), "someone's data, not ours to destroy");
    TBPlusTree tree;
    tree.OpenTree(folder.Path());
    EXPECT_EQ(tree.WordCount(), 0);
    EXPECT_FALSE(tree.FindWord("cat"));
    EXPECT_FALSE(tree.FindWord(""));
    tree.CloseTree();

    EXPECT_EQ(ReadBytes(folder.File("Dict.dat")), "someone's data, not ours to destroy");
    const std::string index = ReadBytes(folder.File("Dict.idx"));
    ASSERT_EQ(index.size(), StoreFormat::IndexRecordSize) << "a header-only index is started";
    StoreFormat::IndexRecord header;
    std::copy(index.begin(), index.end(), header.begin());
    EXPECT_EQ(header[0], 1);
    EXPECT_EQ(StoreFormat::ReadHeader(header).RootRec, -1);
    EXPECT_EQ(StoreFormat::ReadHeader(header).Height, 0);

    // In a folder that does not exist nothing can be created: still an empty store.
    TBPlusTree nowhere;
    nowhere.OpenTree(folder.File("no/such/folder"));
    EXPECT_EQ(nowhere.WordCount(), 0);
}

TEST(DictTree, readOnlyFilesAreOpenedAndUsed) {
    TTempFolder folder;
    WriteStoreFiles(folder.Path(), "Dict", HeightThreeTree());
    ::chmod(folder.File("Dict.idx").c_str(), 0444);
    ::chmod(folder.File("Dict.dat").c_str(), 0444);
    ::chmod(folder.Path().c_str(), 0555);
    const std::string path = folder.Path();
    EXPECT_TRUE(RunUnprivileged([path] {
        TBPlusTree tree;
        tree.OpenTree(path);
        return tree.WordCount() == 7 && tree.FindWord("cow") && !tree.FindWord("gnu");
    }));
}

TEST(DictTree, emptyBuiltStoreAnswersFalse) {
    TTempFolder folder;
    WriteStore(folder.Path(), "Dict", {});
    TBPlusTree tree;
    tree.OpenTree(folder.Path());
    EXPECT_EQ(tree.WordCount(), 0);
    EXPECT_EQ(tree.Height(), 0);
    EXPECT_FALSE(tree.FindWord("a"));
}

struct TDamage {
    const char* Name;
    std::function<void(TStoreLayout&)> Apply;
    const char* Message; // part of the error text
    bool AtOpening;      // or else at the lookup of "dog"
};

void PrintTo(const TDamage& damage, std::ostream* out) {
    *out << damage.Name;
}

class DictTreeDamage : public ::testing::TestWithParam<TDamage> {};

TEST_P(DictTreeDamage, raisesAClearErrorNamingTheFile) {
    TTempFolder folder;
    TStoreLayout layout = HeightThreeTree();
    GetParam().Apply(layout);
    WriteStoreFiles(folder.Path(), "Dict", layout);
    TBPlusTree tree;
    try {
        tree.OpenTree(folder.Path());
        ASSERT_FALSE(GetParam().AtOpening) << "opening accepted the damage";
        tree.FindWord("dog");
        FAIL() << "the lookup accepted the damage";
    } catch (const EInOutError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(GetParam().Message), std::string::npos) << text;
        EXPECT_NE(text.find("Dict."), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, DictTreeDamage,
    ::testing::Values(
        TDamage{"negativeHeight", [](TStoreLayout& s) { s.Height = -1; }, "height -1", true},
        TDamage{"heightAboveNodeCount", [](TStoreLayout& s) { s.Height = 8; }, "height 8", true},
        TDamage{"heightAboveCap",
                [](TStoreLayout& s) {
                    s.Height = 33;
                    s.Nodes.resize(40, {{}, {1}});
                },
                "height 33", true},
        TDamage{"rootIsTheHeader", [](TStoreLayout& s) { s.RootRec = 0; }, "root record 0", true},
        TDamage{"rootPastTheEnd", [](TStoreLayout& s) { s.RootRec = 99; }, "root record 99", true},
        TDamage{"negativeWordCount", [](TStoreLayout& s) { s.WordCount = -5; },
                "negative word count", true},
        TDamage{"rootKeyCountAbove22", [](TStoreLayout& s) { s.Nodes[6].KeyCountOverride = 23; },
                "has 23 keys", true},
        TDamage{"rootKeyCountNegative", [](TStoreLayout& s) { s.Nodes[6].KeyCountOverride = -1; },
                "has -1 keys", true},
        TDamage{"rootKeyLongerThan21",
                [](TStoreLayout& s) { s.Nodes[6].Keys[0] = std::string(22, 'd'); }, "length 22",
                true},
        TDamage{"childKeyCountAbove22", [](TStoreLayout& s) { s.Nodes[5].KeyCountOverride = 200; },
                "has 200 keys", false},
        TDamage{"childPointerPastTheEnd", [](TStoreLayout& s) { s.Nodes[6].Pointers[1] = 70; },
                "child pointer 70", false},
        TDamage{"childPointerToTheHeader", [](TStoreLayout& s) { s.Nodes[5].Pointers[0] = 0; },
                "child pointer 0", false},
        TDamage{"childPointerMinusOne", [](TStoreLayout& s) { s.Nodes[6].Pointers[1] = -1; },
                "child pointer -1", false},
        TDamage{"dataPointerPastTheEnd", [](TStoreLayout& s) { s.Nodes[2].Pointers[1] = 8; },
                "data pointer 8", false},
        TDamage{"dataPointerNegative", [](TStoreLayout& s) { s.Nodes[2].Pointers[1] = -7; },
                "data pointer -7", false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DictTree, missingDataFileBesideAnIndexIsAnError) {
    TTempFolder folder;
    WriteStoreFiles(folder.Path(), "Dict", HeightThreeTree());
    std::remove(folder.File("Dict.dat").c_str());
    TBPlusTree tree;
    EXPECT_THROW(tree.OpenTree(folder.Path()), EInOutError);
    EXPECT_FALSE(TRecordFile::FileExists(folder.File("Dict.dat"))) << "nothing is created then";
}

// Builds a real store of `count` words for truncation and flipping tests.
std::vector<std::string> SomeWords(int count) {
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        words.push_back(std::string(1, static_cast<char>('a' + i % 26)) +
                        std::string(1, static_cast<char>('a' + i / 26 % 26)) +
                        std::string(1 + i % 3, 'x'));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}

TEST(DictTree, truncationAtEveryRecordBoundaryFailsCleanly) {
    TTempFolder pristine;
    const std::vector<std::string> words = SomeWords(600);
    const TTreeShape shape = WriteStore(pristine.Path(), "Dict", words);
    ASSERT_EQ(shape.Height, 3);
    const std::string index = ReadBytes(pristine.File("Dict.idx"));
    const std::string data = ReadBytes(pristine.File("Dict.dat"));
    const std::size_t indexRecords = index.size() / StoreFormat::IndexRecordSize;

    for (std::size_t keep = 0; keep < indexRecords; ++keep) {
        for (std::size_t extra : {std::size_t{0}, std::size_t{100}}) {
            TTempFolder folder;
            WriteBytes(folder.File("Dict.idx"),
                       index.substr(0, keep * StoreFormat::IndexRecordSize + extra));
            WriteBytes(folder.File("Dict.dat"), data);
            TBPlusTree tree;
            int found = 0;
            int failed = 0;
            try {
                tree.OpenTree(folder.Path());
                for (const std::string& word : words) {
                    try {
                        found += tree.FindWord(word) ? 1 : 0;
                    } catch (const EInOutError&) {
                        ++failed;
                    }
                }
            } catch (const EInOutError&) {
                failed = -1; // refused at opening
            }
            EXPECT_NE(failed, 0) << "index cut to " << keep << " records + " << extra << " bytes";
            EXPECT_LT(found, static_cast<int>(words.size()));
        }
    }

    // A Dict.dat emptied, cut at a record or within one is refused when the
    // store opens: otherwise the game would start and refuse every word.
    const std::size_t dataRecords = data.size() / StoreFormat::DataRecordSize;
    for (std::size_t keep = 0; keep < dataRecords; ++keep) {
        for (std::size_t extra : {std::size_t{0}, std::size_t{5}}) {
            TTempFolder folder;
            WriteBytes(folder.File("Dict.idx"), index);
            WriteBytes(folder.File("Dict.dat"),
                       data.substr(0, keep * StoreFormat::DataRecordSize + extra));
            TBPlusTree tree;
            EXPECT_THROW(tree.OpenTree(folder.Path()), EInOutError)
                << "Dict.dat cut to " << keep << " records + " << extra << " bytes";
        }
    }
}

// Fails by crashing, hanging or a sanitizer report (make sanitize runs it too).
TEST(DictTree, flippedBytesNeverCrashOrHang) {
    TTempFolder pristine;
    const std::vector<std::string> words = SomeWords(600);
    WriteStore(pristine.Path(), "Dict", words);
    const std::string index = ReadBytes(pristine.File("Dict.idx"));
    const std::string data = ReadBytes(pristine.File("Dict.dat"));
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<std::size_t>((static_cast<std::uint64_t>(state) * n) >> 32);
    };
    for (int trial = 0; trial < 300; ++trial) {
        TTempFolder folder;
        std::string damaged = index;
        for (int flip = 0; flip < 4; ++flip) {
            damaged[next(static_cast<std::uint32_t>(damaged.size()))] ^=
                static_cast<char>(1 + next(255));
        }
        WriteBytes(folder.File("Dict.idx"), damaged);
        WriteBytes(folder.File("Dict.dat"), data);
        TBPlusTree tree;
        try {
            tree.OpenTree(folder.Path());
            for (std::size_t w = 0; w < words.size(); w += 7) {
                try {
                    tree.FindWord(words[w]);
                } catch (const EInOutError&) {
                }
            }
        } catch (const EInOutError&) {
        }
    }
}

} // namespace
