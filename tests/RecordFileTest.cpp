#include "platform/RecordFile.h"

#include "StoreFixture.h"
#include "platform/InOutError.h"
#include "platform/ProgramFolder.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Record = std::array<char, 8>;

TEST(RecordFile, writesAndReadsWholeRecordsByNumber) {
    TTempFolder folder;
    TRecordFile file(folder.File("r.dat"), 8);
    file.CreateOrTruncate();
    const Record first{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    const Record second{'1', '2', '3', '4', '5', '6', '7', '8'};
    file.Write(first.data());
    file.Write(second.data());
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.RecordCount(), 2);

    Record got{};
    file.Seek(1);
    file.Read(got.data());
    EXPECT_EQ(got, second);
    file.Seek(0);
    EXPECT_FALSE(file.Eof());
    file.Read(got.data());
    EXPECT_EQ(got, first);
    file.Close();
    EXPECT_EQ(ReadBytes(folder.File("r.dat")), "abcdefgh12345678");
}

TEST(RecordFile, aTruncatedRecordIsAFailureNamingTheFile) {
    TTempFolder folder;
    WriteBytes(folder.File("short.dat"), "abcdefgh123");
    TRecordFile file(folder.File("short.dat"), 8);
    file.OpenExisting(TFileAccess::ReadOnly);
    EXPECT_EQ(file.RecordCount(), 1);
    Record got{};
    file.Seek(1);
    try {
        file.Read(got.data());
        FAIL() << "a 3-byte record was read as whole";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), EIO);
        EXPECT_NE(std::string(error.what()).find("short.dat"), std::string::npos) << error.what();
    }
}

TEST(RecordFile, failuresCarryTheSystemErrorCode) {
    TTempFolder folder;
    TRecordFile missing(folder.File("none.dat"), 8);
    try {
        missing.OpenExisting(TFileAccess::ReadOnly);
        FAIL() << "opened a missing file";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), ENOENT);
        EXPECT_NE(std::string(error.what()).find("none.dat"), std::string::npos);
    }
    EXPECT_FALSE(TRecordFile::FileExists(folder.File("none.dat")));
    EXPECT_FALSE(TRecordFile::FileExists(folder.Path())) << "a folder is not a record file";

    TRecordFile folderAsFile(folder.Path(), 8);
    EXPECT_THROW(folderAsFile.OpenExisting(TFileAccess::ReadOnly), EInOutError);

    TRecordFile closed(folder.File("c.dat"), 8);
    Record buffer{};
    EXPECT_THROW(closed.Read(buffer.data()), EInOutError);
}

// The descriptor the next open gets: the lowest free one, so one left open
// before shows as a higher number.
int NextDescriptor() {
    const int probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(probe);
    return probe;
}

TEST(RecordFile, aFolderOrAPipeIsRefusedAndItsDescriptorClosed) {
    // As the stores open Dict.idx and the high-score table SCORES.DAT.
    TTempFolder folder;
    std::filesystem::create_directory(folder.File("Dict.idx"));
    ASSERT_EQ(::mkfifo(folder.File("SCORES.DAT").c_str(), 0600), 0);
    const int next = NextDescriptor();
    TRecordFile index(folder.File("Dict.idx"), 8);
    EXPECT_THROW(index.OpenExisting(TFileAccess::ReadOnly), EInOutError);
    TRecordFile scores(folder.File("SCORES.DAT"), 8);
    EXPECT_THROW(scores.OpenExisting(TFileAccess::ReadWrite), EInOutError);
    EXPECT_EQ(NextDescriptor(), next) << "a refused file's descriptor was left open";
}

TEST(RecordFile, createNewNeverReplacesAnExistingFile) {
    TTempFolder folder;
    WriteBytes(folder.File("keep.dat"), "precious");
    TRecordFile file(folder.File("keep.dat"), 8);
    try {
        file.CreateNew();
        FAIL() << "CreateNew opened an existing file";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), EEXIST);
    }
    EXPECT_EQ(ReadBytes(folder.File("keep.dat")), "precious");
}

TEST(RecordFile, negativeSeekIsRefused) {
    TTempFolder folder;
    TRecordFile file(folder.File("s.dat"), 8);
    file.CreateOrTruncate();
    EXPECT_THROW(file.Seek(-1), EInOutError);
}

TEST(ProgramFolder, isTheExecutablesFolderWithItsSlash) {
    EXPECT_EQ(ProgramFolder("/opt/lexipede/lexipede"), "/opt/lexipede/");
    EXPECT_EQ(ProgramFolder("/lexipede"), "/");
    EXPECT_EQ(ProgramFolder("lexipede"), "");
    EXPECT_EQ(FolderPrefix("/opt/lexipede"), "/opt/lexipede/");
    EXPECT_EQ(FolderPrefix("/opt/lexipede/"), "/opt/lexipede/");
    EXPECT_EQ(FolderPrefix(""), "./") << "an empty folder is the current one, never the root";
}

} // namespace
