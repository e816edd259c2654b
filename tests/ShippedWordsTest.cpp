// The word stores the build ships, read the way the game reads them.

#include "tools/DictBuilder.h"
#include "tools/DictChecker.h"
#include "wordstore/bpBonusTree.h"
#include "wordstore/bpDictTree.h"

#include <gtest/gtest.h>
#include <unordered_set>

namespace {

TEST(ShippedDictionary, holdsEveryKeptWordAndNothingElse) {
    const TWordSelection list = SelectWords({DICT_WORD_LIST}, std::nullopt);
    ASSERT_GT(list.Kept, 100000);
    TBPlusTree tree;
    tree.OpenTree(SHIPPED_STORE_DIR);
    EXPECT_EQ(tree.WordCount(), list.Kept);
    for (const std::string& word : list.Words) {
        ASSERT_TRUE(tree.FindWord(word)) << word;
    }
    const std::unordered_set<std::string> known(list.Words.begin(), list.Words.end());
    int misses = 0;
    for (std::size_t w = 0; w < list.Words.size() && misses < 5000; w += 17) {
        for (const std::string& candidate :
             {list.Words[w] + "q", "x" + list.Words[w], list.Words[w].substr(1) + "zz"}) {
            if (known.count(candidate) == 0) {
                ASSERT_FALSE(tree.FindWord(candidate)) << candidate;
                ++misses;
            }
        }
    }
    EXPECT_GE(misses, 5000);
    EXPECT_TRUE(CheckStore(SHIPPED_STORE_DIR, "Dict").Sound());
    EXPECT_TRUE(CheckStore(SHIPPED_STORE_DIR, "Bonus").Sound());
}

struct TEntry {
    const char* Word;
    bool Found;
};

TEST(ShippedDictionary, acceptsWordsAndRefusesAbbreviationsAndStrayLetters) {
    const TEntry entries[] = {// ordinary words, plurals and verb forms
                              {"cat", true},
                              {"cats", true},
                              {"run", true},
                              {"ran", true},
                              {"running", true},
                              {"tree", true},
                              {"zebra", true},
                              {"boxes", true},
                              {"mice", true},
                              {"taken", true},
                              // words with the QU die
                              {"quit", true},
                              {"quiet", true},
                              {"queen", true},
                              {"squid", true},
                              {"aqua", true},
                              // British, Canadian and Australian spellings beside the American ones
                              {"colour", true},
                              {"color", true},
                              {"grey", true},
                              {"theatre", true},
                              {"cheque", true},
                              {"travelling", true},
                              {"realise", true},
                              {"organisation", true},
                              {"honour", true},
                              // short words players expect
                              {"a", true},
                              {"i", true},
                              {"an", true},
                              {"ox", true},
                              {"qi", true},
                              {"xu", true},
                              // single letters other than a and i
                              {"b", false},
                              {"q", false},
                              {"x", false},
                              {"z", false},
                              // letter plurals and unit symbols
                              {"cs", false},
                              {"ls", false},
                              {"ts", false},
                              {"kb", false},
                              {"lm", false},
                              {"ms", false},
                              // abbreviations, Roman numerals, proper names
                              {"bk", false},
                              {"dr", false},
                              {"ft", false},
                              {"kg", false},
                              {"mph", false},
                              {"etc", false},
                              {"csc", false},
                              {"iv", false},
                              {"xx", false},
                              {"ii", false},
                              {"london", false},
                              {"nasa", false}};
    TBPlusTree tree;
    tree.OpenTree(SHIPPED_STORE_DIR);
    for (const TEntry& entry : entries) {
        EXPECT_EQ(tree.FindWord(entry.Word), entry.Found) << entry.Word;
    }
}

TEST(ShippedBonusWords, everyOneHasFiveLettersAndIsInTheDictionary) {
    TBonusTree bonus;
    bonus.OpenTree(SHIPPED_STORE_DIR);
    TBPlusTree dictionary;
    dictionary.OpenTree(SHIPPED_STORE_DIR);
    ASSERT_GT(bonus.WordCount(), 1000);
    for (std::int32_t n = 0; n < bonus.WordCount(); ++n) {
        const std::string word = bonus.GetWord(n);
        ASSERT_EQ(word.size(), 5u) << "record " << n << ": " << word;
        ASSERT_TRUE(dictionary.FindWord(word)) << word;
    }
}

} // namespace
