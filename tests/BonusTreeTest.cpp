#include "StoreFixture.h"
#include "platform/InOutError.h"
#include "tools/DictBuilder.h"
#include "wordstore/StoreFormat.h"
#include "wordstore/bpBonusTree.h"

#include <gtest/gtest.h>

namespace {

TEST(BonusTree, getWordReadsDataRecordsByNumberAndChangesNothing) {
    TTempFolder folder;
    WriteStore(folder.Path(), "Bonus", {"apple", "bread", "crane"});
    TBonusTree store;
    store.OpenTree(folder.Path());
    ASSERT_EQ(store.WordCount(), 3);
    EXPECT_EQ(store.GetWord(0), "apple");
    EXPECT_EQ(store.GetWord(2), "crane") << "the last word, WordCount-1";
    EXPECT_EQ(store.GetWord(1), "bread");
    EXPECT_EQ(store.GetWord(1), "bread") << "the same n gives the same word";
    EXPECT_THROW(store.GetWord(3), EInOutError) << "past the end of Bonus.dat";
    EXPECT_EQ(store.GetWord(0), "apple");
}

TEST(BonusTree, singleWordStoreAlwaysGivesRecordZero) {
    TTempFolder folder;
    WriteStore(folder.Path(), "Bonus", {"tiger"});
    TBonusTree store;
    store.OpenTree(folder.Path());
    EXPECT_EQ(store.WordCount(), 1);
    EXPECT_EQ(store.GetWord(0), "tiger");
}

TEST(BonusTree, lengthBytesAreTakenAsTheyStandButNeverPastTheRecord) {
    TTempFolder folder;
    WriteStore(folder.Path(), "Bonus", {"aaaaa", "bbbbb"});
    std::string data = ReadBytes(folder.File("Bonus.dat"));
    data[StoreFormat::DataLength] = 0;
    data[StoreFormat::DataRecordSize + StoreFormat::DataLength] = static_cast<char>(200);
    WriteBytes(folder.File("Bonus.dat"), data);
    TBonusTree store;
    store.OpenTree(folder.Path());
    EXPECT_EQ(store.GetWord(0), "");
    const std::string clamped = store.GetWord(1);
    EXPECT_EQ(clamped.size(), 22u);
    EXPECT_EQ(clamped.substr(0, 5), "bbbbb");
}

TEST(BonusTree, missingIndexGivesAnEmptyStoreWithoutError) {
    TTempFolder folder;
    TBonusTree store;
    store.OpenTree(folder.Path());
    EXPECT_EQ(store.WordCount(), 0);
    EXPECT_TRUE(TRecordFile::FileExists(folder.File("Bonus.idx")));
    EXPECT_TRUE(TRecordFile::FileExists(folder.File("Bonus.dat")));
}

TEST(BonusTree, wordCountAboveTheDataRecordsIsDamage) {
    TTempFolder folder;
    TStoreLayout layout;
    layout.WordCount = 3;
    layout.RootRec = 1;
    layout.Height = 1;
    layout.Nodes = {{{"apple", "bread"}, {-1, 0, 1}}};
    layout.Data = {"apple", "bread"};
    WriteStoreFiles(folder.Path(), "Bonus", layout);
    TBonusTree store;
    try {
        store.OpenTree(folder.Path());
        FAIL() << "a word count of 3 over 2 records was accepted";
    } catch (const EInOutError& error) {
        EXPECT_NE(std::string(error.what()).find("Bonus.idx"), std::string::npos) << error.what();
    }
}

} // namespace
