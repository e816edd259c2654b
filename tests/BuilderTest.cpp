#include "StoreFixture.h"
#include "tools/DictBuilder.h"
#include "tools/DictChecker.h"
#include "wordstore/StoreFormat.h"
#include "wordstore/bpDictTree.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using namespace StoreFormat;

TEST(Builder, keepsOnlyPlainLowerCaseWordsSortedWithoutRepeats) {
    TTempFolder folder;
    WriteBytes(folder.File("a.txt"), "cats\ncat\nAaron\naardvark's\n\ncat\r\nzebra\n"
                                     "\xc3\xa9"
                                     "clair\n" +
                                         std::string(22, 'x') + "\n" + std::string(21, 'y'));
    WriteBytes(folder.File("b.txt"), "ant\nzebra\n");
    const TWordSelection selection =
        SelectWords({folder.File("a.txt"), folder.File("b.txt")}, std::nullopt);
    EXPECT_EQ(selection.Words,
              (std::vector<std::string>{"ant", "cat", "cats", std::string(21, 'y'), "zebra"}));
    EXPECT_EQ(selection.Kept, 5);
    // Aaron, aardvark's, the empty line, eclair with an accent, 22 x's; then cat and zebra twice.
    EXPECT_EQ(selection.Skipped, 7);

    const TWordSelection fives = SelectWords({folder.File("a.txt"), folder.File("b.txt")}, 5);
    EXPECT_EQ(fives.Words, (std::vector<std::string>{"zebra"}));
}

TEST(Builder, leavesOutTheWordsOfAnExclusionListWithItsComments) {
    TTempFolder folder;
    WriteBytes(folder.File("words.txt"), "a\nb\ncs\ncat\ni\nlm\n");
    WriteBytes(folder.File("excluded.txt"), "# letters\nb  c\n\ncs lm # symbols\t\n#cat\n");
    const std::set<std::string> excluded = ReadExclusions(folder.File("excluded.txt"));
    EXPECT_EQ(excluded, (std::set<std::string>{"b", "c", "cs", "lm"}));
    const TWordSelection selection =
        SelectWords({folder.File("words.txt")}, std::nullopt, excluded);
    EXPECT_EQ(selection.Words, (std::vector<std::string>{"a", "cat", "i"}));
    EXPECT_EQ(selection.Excluded, 3) << "c is excluded but was never in the list";

    WriteBytes(folder.File("slip.txt"), "cs\nlm, ln\n");
    try {
        ReadExclusions(folder.File("slip.txt"));
        FAIL() << "\"lm,\" was taken as a word to exclude";
    } catch (const EBuildError& error) {
        EXPECT_NE(std::string(error.what()).find("slip.txt:2: \"lm,\""), std::string::npos)
            << error.what();
    }
}

TEST(Builder, refusesFilesThatAreNotTextWithTheirLine) {
    TTempFolder folder;
    WriteBytes(folder.File("latin1.txt"), "cat\ncaf\xe9\n");
    WriteBytes(folder.File("binary.txt"), std::string("cat\ndo\0g\n", 9));
    for (const char* name : {"latin1.txt", "binary.txt"}) {
        try {
            SelectWords({folder.File(name)}, std::nullopt);
            FAIL() << name << " was taken as a word list";
        } catch (const EBuildError& error) {
            EXPECT_NE(std::string(error.what()).find(std::string(name) + ":2"), std::string::npos)
                << error.what();
        }
    }
    EXPECT_THROW(SelectWords({folder.File("missing.txt")}, std::nullopt), EBuildError);
}

TEST(Builder, anUnwritableFolderLeavesNothingUnderTheFinalNames) {
    TTempFolder folder;
    WriteBytes(folder.File("file"), "not a folder");
    EXPECT_THROW(WriteStore(folder.File("file"), "Dict", {"cat"}), EBuildError);
    EXPECT_THROW(WriteStore(folder.File("none"), "Dict", {"cat"}), EBuildError);
    EXPECT_FALSE(TRecordFile::FileExists(folder.File("none/Dict.idx")));
}

std::vector<std::string> NumberedWords(int count) {
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string word;
        for (int n = i; word.size() < 4; n /= 26) {
            word.insert(word.begin(), static_cast<char>('a' + n % 26));
        }
        words.push_back(word);
    }
    return words;
}

struct TShapeCase {
    int Words;
    std::int32_t Height;
    std::int64_t Nodes;
};

class BuilderShape : public ::testing::TestWithParam<TShapeCase> {};

TEST_P(BuilderShape, buildsASoundTreeOfTheExpectedHeightWhereEveryWordIsFound) {
    TTempFolder folder;
    const std::vector<std::string> words = NumberedWords(GetParam().Words);
    const TTreeShape shape = WriteStore(folder.Path(), "Dict", words);
    EXPECT_EQ(shape.Height, GetParam().Height);
    EXPECT_EQ(shape.NodeCount, GetParam().Nodes);

    const TCheckReport report = CheckStore(folder.Path(), "Dict");
    EXPECT_TRUE(report.Sound()) << (report.Faults.empty() ? "" : report.Faults.front());
    EXPECT_EQ(report.WordCount, GetParam().Words);

    TBPlusTree tree;
    tree.OpenTree(folder.Path());
    for (std::size_t w = 0; w < words.size(); ++w) {
        ASSERT_TRUE(tree.FindWord(words[w])) << words[w];
        ASSERT_EQ(tree.CurrentRecordNumber(), static_cast<std::int32_t>(w))
            << "data record i holds word i";
        ASSERT_FALSE(tree.FindWord(words[w] + "a")) << words[w] << "a";
    }
}

void PrintTo(const TShapeCase& c, std::ostream* out) {
    *out << c.Words << " words";
}

INSTANTIATE_TEST_SUITE_P(Sizes, BuilderShape,
                         ::testing::Values(TShapeCase{0, 0, 0}, TShapeCase{1, 1, 1},
                                           TShapeCase{22, 1, 1}, TShapeCase{23, 2, 3},
                                           TShapeCase{22 * 23, 2, 24},
                                           TShapeCase{22 * 23 + 1, 3, 27}),
                         [](const auto& info) {
                             return std::to_string(info.param.Words) + "words";
                         });

TEST(Builder, separatorsAreTheFirstKeysOfTheChildrenToTheirRight) {
    TTempFolder folder;
    WriteStore(folder.Path(), "Dict", NumberedWords(100));
    const std::string index = ReadBytes(folder.File("Dict.idx"));
    IndexRecord header;
    std::copy_n(index.begin(), IndexRecordSize, header.begin());
    const THeader h = ReadHeader(header);
    ASSERT_EQ(h.Height, 2);
    const auto node = [&index](std::int32_t n) {
        return TNodeView(reinterpret_cast<const std::uint8_t*>(index.data()) + n * IndexRecordSize);
    };
    const TNodeView root = node(h.RootRec);
    ASSERT_EQ(root.KeyCount(), 4) << "100 words make 5 leaves of 20";
    for (int k = 0; k < root.KeyCount(); ++k) {
        const TNodeView right = node(root.Pointer(k + 1));
        EXPECT_EQ(root.Key(k), right.Key(0));
        EXPECT_EQ(right.Pointer(0), NoRecord);
    }
}

struct TCheckerCase {
    const char* Name;
    std::function<void(std::string& index, std::string& data)> Damage;
    const char* Fault;
};

void PrintTo(const TCheckerCase& c, std::ostream* out) {
    *out << c.Name;
}

class CheckerFinds : public ::testing::TestWithParam<TCheckerCase> {};

// Offsets inside the first leaf (record 1) of a 100-word store.
constexpr std::size_t Leaf = IndexRecordSize;

TEST_P(CheckerFinds, theFaultAndSaysWhatItIs) {
    TTempFolder folder;
    WriteStore(folder.Path(), "Dict", NumberedWords(100));
    std::string index = ReadBytes(folder.File("Dict.idx"));
    std::string data = ReadBytes(folder.File("Dict.dat"));
    GetParam().Damage(index, data);
    WriteBytes(folder.File("Dict.idx"), index);
    WriteBytes(folder.File("Dict.dat"), data);
    const TCheckReport report = CheckStore(folder.Path(), "Dict");
    ASSERT_FALSE(report.Sound());
    bool named = false;
    for (const std::string& fault : report.Faults) {
        named = named || fault.find(GetParam().Fault) != std::string::npos;
    }
    EXPECT_TRUE(named) << "first fault: " << report.Faults.front();
}

INSTANTIATE_TEST_SUITE_P(
    EachFault, CheckerFinds,
    ::testing::Values(
        TCheckerCase{"partialRecord", [](std::string& i, std::string&) { i.resize(i.size() - 3); },
                     "not whole"},
        TCheckerCase{"keysOutOfOrder",
                     [](std::string& i, std::string&) {
                         std::swap(i[Leaf + NodeKeys + 4], i[Leaf + NodeKeys + KeyFieldWidth + 4]);
                     },
                     "not ascending"},
        TCheckerCase{"dataRecordDiffers", [](std::string&, std::string& d) { d[DataChars] = 'z'; },
                     "does not hold its key"},
        TCheckerCase{"leafSlotZeroNotMinusOne",
                     [](std::string& i, std::string&) { i[Leaf + NodePointers] = 5; }, "slot 0"},
        TCheckerCase{"wordCountWrong",
                     [](std::string& i, std::string&) { i[HeaderWordCount] = 99; },
                     "header says 99 words"},
        TCheckerCase{"keyTooLong", [](std::string& i, std::string&) { i[Leaf + NodeKeys] = 30; },
                     "length 30"},
        TCheckerCase{"nodeReachedTwice",
                     [](std::string& i, std::string&) {
                         // The root is the last record; point its second child at the first leaf.
                         const std::size_t root = i.size() - IndexRecordSize;
                         PutInt32(reinterpret_cast<std::uint8_t*>(&i[root + NodePointers + 4]), 1);
                     },
                     "reached twice"},
        TCheckerCase{
            "keyOutsideParentRange",
            [](std::string& i, std::string&) { i[2 * Leaf + NodeKeys + KeyFieldWidth + 4] = 'a'; },
            "outside the range"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
