// The high-score table and SCORES.DAT without a window: placement, the file
// layout, damaged files, the temporary-folder fallback, links, permissions, a
// full disk and saves that fail or are killed.

#include "scores/ScoreKeeper.h"

#include "StoreFixture.h"
#include "platform/AtomicFile.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <random>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// A table written as rows of (name, score), best first.
TScoreTable Rows(std::initializer_list<std::pair<const char*, int>> rows) {
    TScoreTable table;
    int k = 0;
    for (const auto& [name, score] : rows) {
        table.Entry[k++] = TScoreEntry{name, score};
    }
    return table;
}

std::string Record(const TScoreTable& table) {
    const auto record = table.Encode();
    return std::string(record.begin(), record.end());
}

struct TKeeperFixture {
    TTempFolder Working;
    TTempFolder Temporary;
    QStringList Warnings;

    TScoreKeeper Keeper(const std::string& working = "") {
        TScoreKeeper keeper({working.empty() ? Working.Path() : working, Temporary.Path()});
        keeper.Warn = [this](const QString& text) { Warnings.push_back(text); };
        return keeper;
    }
    std::string WorkingFile() const { return Working.File("SCORES.DAT"); }
    std::string TemporaryFile() const { return Temporary.File("SCORES.DAT"); }
};

TEST(ScoreTable, entriesAre28BytesAndTheTable308) {
    TScoreTable table = Rows({{"Ann", 25}, {"", 7}});
    table.Entry[10] = TScoreEntry{"Dropped", 3};
    const auto record = table.Encode();
    EXPECT_EQ(record.size(), 308u);
    EXPECT_EQ(record[0], 3);
    EXPECT_EQ(std::string(record.begin() + 1, record.begin() + 4), "Ann");
    EXPECT_EQ(record[24], 25);
    EXPECT_EQ(record[28 + 24], 7);
    EXPECT_EQ(record[280], 7) << "the working slot starts at byte 280";
    EXPECT_EQ(TScoreTable::Decode(record), table);
}

TEST(ScoreTable, aLengthByteAbove20CountsAs20) {
    TScoreTable::Record record{};
    record[0] = 200;
    for (int i = 1; i <= 27; ++i) {
        record[i] = 'a';
    }
    EXPECT_EQ(TScoreTable::Decode(record).Entry[0].Name, std::string(20, 'a'));
}

struct TPlacement {
    const char* Case;
    TScoreTable Before;
    int Score;
    int Position;
    TScoreEntry WorkingSlotAfter;
};

class Placement : public ::testing::TestWithParam<TPlacement> {};

TEST_P(Placement, putsTheScoreBelowEveryEqualOrBetterEntry) {
    TScoreTable table = GetParam().Before;
    table.Entry[10] = TScoreEntry{std::string(NewEntryPlaceholder), GetParam().Score};
    EXPECT_EQ(SortScores(table, 0, 10), GetParam().Position);
    if (GetParam().Position < 10) {
        EXPECT_EQ(table.Entry[GetParam().Position], (TScoreEntry{"", -1}));
        EXPECT_EQ(table.Entry[10], GetParam().WorkingSlotAfter);
    }
}

const TScoreTable Full = Rows({{"a", 100},
                               {"b", 90},
                               {"c", 80},
                               {"d", 70},
                               {"e", 60},
                               {"f", 50},
                               {"g", 40},
                               {"h", 30},
                               {"i", 20},
                               {"j", 10}});

void PrintTo(const TPlacement& p, std::ostream* out) {
    *out << p.Case;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Placement,
    ::testing::Values(
        TPlacement{"firstScoreGoesToTheTop", {}, 5, 0, {}},
        TPlacement{"zeroNeverEnters", {}, 0, 10, {}},
        TPlacement{"tiesGoBelow", Rows({{"a", 50}, {"b", 40}, {"c", 40}, {"d", 30}}), 40, 3, {}},
        TPlacement{"equalToTheLastStaysOut", Full, 10, 10, {}},
        TPlacement{"oneMoreGetsInAndTheLastDropsOut", Full, 11, 9, {"j", 10}},
        TPlacement{"bestMovesEveryoneDown", Full, 101, 0, {"j", 10}}),
    [](const auto& info) { return std::string(info.param.Case); });

TEST(ScoreKeeper, noFileGivesAnEmptyFileAndTenBlankRowsThatStayEmptyWhenViewed) {
    TKeeperFixture f;
    TScoreKeeper keeper = f.Keeper();
    keeper.Table = Rows({{"stale", 9}});
    keeper.LoadScores();
    EXPECT_EQ(keeper.Table, TScoreTable{});
    EXPECT_EQ(ReadBytes(f.WorkingFile()), "");
    EXPECT_TRUE(std::filesystem::exists(f.WorkingFile()));
    keeper.LoadScores();
    EXPECT_EQ(std::filesystem::file_size(f.WorkingFile()), 0u);
    EXPECT_TRUE(f.Warnings.isEmpty());
}

TEST(ScoreKeeper, aPlacedAndNamedScoreIsSavedAsOneWholeRecord) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), Record(Full));
    TScoreKeeper keeper = f.Keeper();
    const int position = keeper.PlaceScore(55);
    ASSERT_EQ(position, 5);
    keeper.SetScore(QStringLiteral("A name much longer than twenty"), 55, position);
    keeper.SaveScores();
    const std::string saved = ReadBytes(f.WorkingFile());
    ASSERT_EQ(saved.size(), 308u);
    TScoreTable::Record record;
    std::copy(saved.begin(), saved.end(), record.begin());
    const TScoreTable table = TScoreTable::Decode(record);
    EXPECT_EQ(table.Entry[5], (TScoreEntry{"A name much longer t", 55}));
    EXPECT_EQ(table.Entry[6], (TScoreEntry{"f", 50}));
    EXPECT_EQ(table.Entry[10], (TScoreEntry{"j", 10}))
        << "the working slot keeps the entry that dropped out";
    EXPECT_TRUE(f.Warnings.isEmpty());
}

TEST(ScoreKeeper, namesAreStoredAsSingleBytes) {
    EXPECT_EQ(TScoreKeeper::NameBytes(QString()), "");
    EXPECT_EQ(TScoreKeeper::NameBytes(QStringLiteral("Zoë")), "Zo\xeb");
    EXPECT_EQ(TScoreKeeper::NameBytes(QStringLiteral("Łukasz 😀!")), "?ukasz ?!");
    EXPECT_EQ(TScoreKeeper::NameBytes(QString(25, QChar('x'))), std::string(20, 'x'));
}

TEST(ScoreKeeper, theLastWholeRecordOfAFileWins) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), Record(Rows({{"old", 5}})) + Record(Rows({{"new", 7}})));
    TScoreKeeper keeper = f.Keeper();
    keeper.LoadScores();
    EXPECT_EQ(keeper.Table.Entry[0], (TScoreEntry{"new", 7}));
    EXPECT_TRUE(f.Warnings.isEmpty());
}

TEST(ScoreKeeper, aHugeFileLoadsAsFastAsASmallOne) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), "");
    {
        // Two gigabytes of holes, then the table as the last whole record.
        const std::int64_t records = (std::int64_t{2} << 30) / TScoreTable::RecordSize;
        const int file = ::open(f.WorkingFile().c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(file, 0);
        const std::string last = Record(Rows({{"last", 42}}));
        ASSERT_EQ(::pwrite(file, last.data(), last.size(), (records - 1) * TScoreTable::RecordSize),
                  static_cast<ssize_t>(last.size()));
        ::close(file);
    }
    TScoreKeeper keeper = f.Keeper();
    const auto start = std::chrono::steady_clock::now();
    keeper.LoadScores();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 0.5) << "the time to load grows with the file";
    EXPECT_EQ(keeper.Table.Entry[0], (TScoreEntry{"last", 42}));
    EXPECT_TRUE(f.Warnings.isEmpty());
}

TEST(ScoreKeeper, aPartialRecordWarnsOnceAndKeepsWhatWasRead) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), std::string(300, '\x07'));
    TScoreKeeper keeper = f.Keeper();
    keeper.LoadScores();
    EXPECT_EQ(f.Warnings, QStringList{ScoresMissingOrCorrupt});
    EXPECT_EQ(keeper.Table, TScoreTable{});

    f.Warnings.clear();
    WriteBytes(f.WorkingFile(), Record(Rows({{"whole", 9}})) + std::string(100, '\x07'));
    keeper.LoadScores();
    EXPECT_EQ(f.Warnings, QStringList{ScoresMissingOrCorrupt});
    EXPECT_EQ(keeper.Table.Entry[0], (TScoreEntry{"whole", 9}));
    EXPECT_EQ(ReadBytes(f.WorkingFile()).size(), 408u) << "loading never rewrites the file";
}

TEST(ScoreKeeper, resetEmptiesTheWorkingFileButNotTheTemporaryCopy) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), Record(Full));
    WriteBytes(f.TemporaryFile(), Record(Full));
    TScoreKeeper keeper = f.Keeper();
    keeper.LoadScores();
    keeper.ResetScores();
    EXPECT_EQ(std::filesystem::file_size(f.WorkingFile()), 0u);
    EXPECT_EQ(keeper.Table, TScoreTable{});
    EXPECT_EQ(ReadBytes(f.TemporaryFile()), Record(Full));
    EXPECT_EQ(keeper.PlaceScore(3), 0) << "the next score goes to row 0";
}

TEST(ScoreKeeper, anUnusableWorkingFolderFallsBackToTheTemporaryFolderSilently) {
    TKeeperFixture f;
    WriteBytes(f.Working.File("not-a-folder"), "x");
    TScoreKeeper keeper = f.Keeper(f.Working.File("not-a-folder"));
    keeper.SetScore(QStringLiteral("Ann"), 12, keeper.PlaceScore(12));
    keeper.SaveScores();
    EXPECT_TRUE(f.Warnings.isEmpty());
    EXPECT_EQ(ReadBytes(f.TemporaryFile()).size(), 308u);
    keeper.LoadScores();
    EXPECT_EQ(keeper.Table.Entry[0], (TScoreEntry{"Ann", 12}));
}

// A file's permission bits in octal, "0644"; "none" when it is missing.
std::string ModeText(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "none";
    }
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return text;
}

TEST(ScoreKeeper, aNewFileIsReadableByAllInTheWorkingFolderAndByItsOwnerInTheTemporaryOne) {
    TKeeperFixture f;
    WriteBytes(f.Working.File("not-a-folder"), "x");
    const mode_t previous = ::umask(0); // the modes are the save's own, whatever the umask
    f.Keeper().SaveScores();
    f.Keeper(f.Working.File("not-a-folder")).SaveScores();
    ::umask(previous);
    EXPECT_TRUE(f.Warnings.isEmpty());
    EXPECT_EQ(ModeText(f.WorkingFile()), "0644");
    EXPECT_EQ(ModeText(f.TemporaryFile()), "0600");
}

TEST(ScoreKeeper, aLinkPlantedInTheTemporaryFolderIsNeverFollowed) {
    TKeeperFixture f;
    WriteBytes(f.Working.File("not-a-folder"), "x");
    const std::string victim = f.Temporary.File("victim");
    WriteBytes(victim, "precious");
    std::filesystem::create_symlink(victim, f.TemporaryFile());
    TScoreKeeper keeper = f.Keeper(f.Working.File("not-a-folder"));
    keeper.SetScore(QStringLiteral("Eve"), 50, keeper.PlaceScore(50));
    keeper.SaveScores();
    EXPECT_EQ(f.Warnings, (QStringList{ScoresMissingOrCorrupt, ScoresNotSaved}));
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_TRUE(std::filesystem::is_symlink(f.TemporaryFile()));

    // A dangling link is not followed into a new file either.
    std::filesystem::remove(victim);
    f.Warnings.clear();
    keeper.LoadScores();
    EXPECT_EQ(f.Warnings, QStringList{ScoresMissingOrCorrupt});
    EXPECT_FALSE(std::filesystem::exists(victim));
}

TEST(ScoreKeeper, anotherUsersFileInTheTemporaryFolderIsLeftAlone) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a file to another user";
    }
    TKeeperFixture f;
    WriteBytes(f.Working.File("not-a-folder"), "x");
    WriteBytes(f.TemporaryFile(), Record(Full));
    ASSERT_EQ(::chown(f.TemporaryFile().c_str(), 65534, 65534), 0);
    TScoreKeeper keeper = f.Keeper(f.Working.File("not-a-folder"));
    keeper.LoadScores();
    keeper.SaveScores();
    EXPECT_EQ(f.Warnings, (QStringList{ScoresMissingOrCorrupt, ScoresNotSaved}));
    EXPECT_EQ(ReadBytes(f.TemporaryFile()), Record(Full));
}

// In a process of its own, which it leaves with files that may not grow past
// 100 bytes: places and saves a score; true when the save was told as failed.
bool SaveIsToldAsFailedUnderAFileSizeLimit(const std::string& working,
                                           const std::string& temporary) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    QStringList warnings;
    TScoreKeeper keeper({working, temporary});
    keeper.Warn = [&warnings](const QString& text) { warnings.push_back(text); };
    keeper.SetScore(QStringLiteral("Max"), 999, keeper.PlaceScore(999));
    keeper.SaveScores();
    return warnings == QStringList{ScoresNotSaved};
}

TEST(ScoreKeeper, aSaveThatFailsPartWayLeavesTheOldTableWhole) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), Record(Full));
    const std::string working = f.Working.Path();
    const std::string temporary = f.Temporary.Path();
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(SaveIsToldAsFailedUnderAFileSizeLimit(working, temporary) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failed save was told";
    EXPECT_EQ(ReadBytes(f.WorkingFile()), Record(Full));
    EXPECT_FALSE(std::filesystem::exists(f.TemporaryFile()));
    for (const auto& entry : std::filesystem::directory_iterator(f.Working.Path())) {
        EXPECT_EQ(entry.path().filename(), "SCORES.DAT") << "no half-written file is left behind";
    }
}

TEST(ScoreKeeper, whenNeitherPlaceCanBeUsedLoadingWarnsOnceAndTheTableStaysEmpty) {
    TKeeperFixture f;
    WriteBytes(f.Working.File("file"), "x");
    TScoreKeeper keeper({f.Working.File("file"), f.Working.File("file")});
    QStringList warnings;
    keeper.Warn = [&warnings](const QString& text) { warnings.push_back(text); };
    keeper.LoadScores();
    EXPECT_EQ(warnings, QStringList{ScoresMissingOrCorrupt});
    EXPECT_EQ(keeper.Table, TScoreTable{});
    warnings.clear();
    keeper.ResetScores();
    EXPECT_EQ(warnings, QStringList{ScoresNotSaved});
}

TEST(ScoreKeeper, aLinkNamedScoresDatInTheWorkingFolderIsNeverFollowed) {
    TKeeperFixture f;
    const std::string victim = f.Working.File("victim");
    WriteBytes(victim, Record(Full));
    std::filesystem::create_symlink(victim, f.WorkingFile());
    TScoreKeeper keeper = f.Keeper();
    keeper.LoadScores();
    EXPECT_EQ(keeper.Table, TScoreTable{}) << "the link counts as no usable file";
    keeper.ResetScores();
    EXPECT_EQ(f.Warnings, QStringList{ScoresNotSaved}) << "F7 empties nothing through a link";
    EXPECT_EQ(ReadBytes(victim), Record(Full));

    f.Warnings.clear();
    keeper.SetScore(QStringLiteral("Eve"), 50, keeper.PlaceScore(50));
    keeper.SaveScores();
    EXPECT_TRUE(f.Warnings.isEmpty());
    EXPECT_EQ(ReadBytes(victim), Record(Full));
    EXPECT_TRUE(std::filesystem::is_symlink(f.WorkingFile()));
    keeper.LoadScores();
    EXPECT_EQ(keeper.Table.Entry[0], (TScoreEntry{"Eve", 50})) << "kept in the temporary folder";

    // A dangling link is not followed into a new file either.
    std::filesystem::remove(victim);
    keeper.LoadScores();
    keeper.ResetScores();
    EXPECT_FALSE(std::filesystem::exists(victim));
}

struct TPermissionCase {
    const char* Case;
    mode_t Folder;
    mode_t File;       // 0: no file
    bool SavedInPlace; // otherwise the temporary folder holds the new table
};

class SavingUnderPermissions : public ::testing::TestWithParam<TPermissionCase> {};

void PrintTo(const TPermissionCase& c, std::ostream* out) {
    *out << c.Case;
}

TEST_P(SavingUnderPermissions, loadingAndSavingAgreeOnThePlaceAndKeepTheNewEntry) {
    const TPermissionCase& c = GetParam();
    TKeeperFixture f;
    if (c.File != 0) {
        WriteBytes(f.WorkingFile(), Record(Full));
        ::chmod(f.WorkingFile().c_str(), c.File);
    }
    ::chmod(f.Working.Path().c_str(), c.Folder);
    // When root, the child runs as nobody; otherwise the folder is ours already.
    ASSERT_TRUE(::chown(f.Temporary.Path().c_str(), 65534, 65534) == 0 || ::geteuid() != 0);
    const std::string working = f.Working.Path();
    const std::string temporary = f.Temporary.Path();
    EXPECT_TRUE(RunUnprivileged([&] {
        int warnings = 0;
        TScoreKeeper keeper({working, temporary});
        keeper.Warn = [&warnings](const QString&) { ++warnings; };
        keeper.SetScore(QStringLiteral("Bo"), 55, keeper.PlaceScore(55));
        keeper.SaveScores();
        keeper.LoadScores();
        const auto& shown = keeper.Table.Entry;
        return warnings == 0 &&
               std::find(shown.begin(), shown.end(), TScoreEntry{"Bo", 55}) != shown.end() &&
               std::filesystem::exists(temporary + "/SCORES.DAT") != c.SavedInPlace;
    }));
    if (c.File == 0) {
        EXPECT_FALSE(std::filesystem::exists(f.WorkingFile()));
        return;
    }
    struct stat info {};
    ASSERT_EQ(::stat(f.WorkingFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, c.File);
    if (c.SavedInPlace) {
        EXPECT_EQ(info.st_size, 308);
    } else {
        EXPECT_EQ(ReadBytes(f.WorkingFile()), Record(Full)) << "a read-only file is never replaced";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SavingUnderPermissions,
    ::testing::Values(TPermissionCase{"noFileInReadOnlyFolder", 0555, 0, false},
                      TPermissionCase{"writableFileInReadOnlyFolder", 0555, 0666, true},
                      TPermissionCase{"readOnlyFileInWritableFolder", 0777, 0444, false}),
    [](const auto& info) { return std::string(info.param.Case); });

TEST(ScoreKeeper, anInPlaceRewriteThatStopsPartWayPutsTheOldBytesBack) {
    // A folder that refuses new files, a writable file in it, and a file size
    // limit that stops the 308-byte record after 100 bytes.
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), Record(Full));
    ::chmod(f.WorkingFile().c_str(), 0666);
    ::chmod(f.Working.Path().c_str(), 0555);
    ASSERT_TRUE(::chown(f.Temporary.Path().c_str(), 65534, 65534) == 0 || ::geteuid() != 0);
    const std::string working = f.Working.Path();
    const std::string temporary = f.Temporary.Path();
    EXPECT_TRUE(RunUnprivileged([&] {
        return SaveIsToldAsFailedUnderAFileSizeLimit(working, temporary);
    })) << "the failed save was told";
    EXPECT_EQ(ReadBytes(f.WorkingFile()), Record(Full));
}

TEST(ScoreKeeper, aSaveThatAFullWorkingFolderRefusesIsToldWhileTheOldFileRemains) {
    TKeeperFixture f;
    const std::string working = f.Working.Path();
    const std::string temporary = f.Temporary.Path();
    const pid_t child = ::fork();
    if (child == 0) {
        // A small file system of the child's own on the working folder, filled up.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("lexipede-test", working.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(77);
        }
        WriteBytes(working + "/SCORES.DAT", Record(Full));
        const int filler = ::open((working + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'x');
        while (::write(filler, block.data(), block.size()) > 0) {
        }
        ::close(filler);
        QStringList warnings;
        TScoreKeeper keeper({working, temporary});
        keeper.Warn = [&warnings](const QString& text) { warnings.push_back(text); };
        keeper.SetScore(QStringLiteral("Di"), 55, keeper.PlaceScore(55));
        keeper.SaveScores();
        const TScoreTable placed = keeper.Table;
        TScoreKeeper fallback({temporary + "/not-a-folder", temporary});
        fallback.LoadScores();
        ::_exit(warnings == QStringList{ScoresNotSaved} &&
                        ReadBytes(working + "/SCORES.DAT") == Record(Full) &&
                        fallback.Table == placed
                    ? 0
                    : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "mounting a small file system is not allowed here";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "warned, the old file untouched, the score kept in the temporary folder";
}

std::size_t OtherFiles(const std::string& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        count += entry.path().filename() != "SCORES.DAT";
    }
    return count;
}

TEST(ScoreKeeper, savesKilledAtAnyMomentNeverDamageTheTableNorLeaveGrowingLitter) {
    TKeeperFixture f;
    const TScoreTable tables[2] = {Full, Rows({{"z", 5}})};
    WriteBytes(f.WorkingFile(), Record(tables[0]));
    const std::string working = f.Working.Path();
    const std::string temporary = f.Temporary.Path();
    std::mt19937 random(12);
    std::size_t mostLitter = 0;
    for (int kill = 0; kill < 300; ++kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            TScoreKeeper keeper({working, temporary});
            keeper.Warn = [](const QString&) { ::_exit(2); };
            for (int save = 0;; ++save) {
                keeper.Table = tables[save % 2];
                keeper.SaveScores();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saves stopped by themselves";
        const std::string saved = ReadBytes(f.WorkingFile());
        ASSERT_TRUE(saved == Record(tables[0]) || saved == Record(tables[1])) << "kill " << kill;
        mostLitter = std::max(mostLitter, OtherFiles(working));
    }
    EXPECT_LE(mostLitter, 1u);
    EXPECT_FALSE(std::filesystem::exists(f.TemporaryFile()));
}

TEST(ScoreKeeper, aSaveRemovesTheScratchFilesOfKilledSavesButNoOthers) {
    TKeeperFixture f;
    const std::string killed = f.Working.File("SCORES.DAT.k1LLed");
    const std::string running = f.Working.File("SCORES.DAT.Busy42");
    const std::string backup = f.Working.File("SCORES.DAT.bak");
    for (const auto& path : {killed, running, backup}) {
        WriteBytes(path, "half");
    }
    // Another game saving at this moment holds a lock on its scratch file.
    const int busy = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    TScoreKeeper keeper = f.Keeper();
    keeper.SaveScores();
    ::close(busy);
    EXPECT_FALSE(std::filesystem::exists(killed));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(backup));
    EXPECT_EQ(ReadBytes(f.WorkingFile()).size(), 308u);
}

// From here on this process's openat refuses O_TMPFILE with EOPNOTSUPP, as a
// file system without unnamed files does (vfat, older NFS). Installed in a
// forked child only: a filter cannot be taken back.
bool RefuseUnnamedFiles() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])), // flags
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        return false;
    }
    const int unnamed = ::open(".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    return unnamed < 0 && errno == EOPNOTSUPP;
}

TEST(ScoreKeeper, whereTheFileSystemHasNoUnnamedFilesASaveGoesThroughANamedScratchFile) {
    TKeeperFixture f;
    WriteBytes(f.WorkingFile(), Record(Full));
    const std::string working = f.Working.Path();
    const std::string temporary = f.Temporary.Path();
    const pid_t child = ::fork();
    if (child == 0) {
        if (!RefuseUnnamedFiles()) {
            ::_exit(2);
        }
        int warnings = 0;
        TScoreKeeper keeper({working, temporary});
        keeper.Warn = [&warnings](const QString&) { ++warnings; };
        keeper.SetScore(QStringLiteral("Bo"), 55, keeper.PlaceScore(55));
        keeper.SaveScores();
        ::_exit(warnings == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) {
        GTEST_SKIP() << "no seccomp filter can be installed here";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save was told as failed";
    const std::string saved = ReadBytes(f.WorkingFile());
    ASSERT_EQ(saved.size(), 308u);
    TScoreTable::Record record;
    std::copy(saved.begin(), saved.end(), record.begin());
    EXPECT_EQ(TScoreTable::Decode(record).Entry[5], (TScoreEntry{"Bo", 55}));
    EXPECT_FALSE(std::filesystem::exists(f.TemporaryFile()));
    EXPECT_EQ(OtherFiles(working), 0u) << "the named scratch file was left behind";
}

TEST(ScoreKeeper, anotherGamesCleanUpNeverTakesTheScratchFileOfARunningSave) {
    // Without unnamed files a scratch file has its name from its creation on;
    // another game's save clears away stale ones at the worst moment.
    TTempFolder folder;
    const std::string path = folder.File("SCORES.DAT");
    TScratchSeams seams;
    seams.UnnamedFiles = false;
    seams.AfterNamedScratchCreated = [&path] { RemoveStaleScratchFiles(path); };
    EXPECT_EQ(ReplaceFileAtomically(path, Record(Full), 0644, seams), TReplaceOutcome::Replaced);
    EXPECT_EQ(ReadBytes(path), Record(Full));
    EXPECT_EQ(OtherFiles(folder.Path()), 0u);
}

} // namespace
