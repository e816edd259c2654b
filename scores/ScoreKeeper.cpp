#include "ScoreKeeper.h"

#include "platform/AtomicFile.h"
#include "platform/InOutError.h"
#include "platform/RecordFile.h"

#include <QDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string FileName = "SCORES.DAT";

} // namespace

TScoreFolders TScoreFolders::Default() {
    return {"", QDir::tempPath().toStdString()};
}

TScoreKeeper::TScoreKeeper(TScoreFolders folders) : folders_(std::move(folders)) {}

std::string TScoreKeeper::WorkingPath() const {
    return folders_.Working.empty() ? FileName : folders_.Working + "/" + FileName;
}

std::string TScoreKeeper::TemporaryPath() const {
    return folders_.Temporary + "/" + FileName;
}

void TScoreKeeper::LoadScores() {
    // An existing file must open for writing too; a missing one is created
    // empty, which empties the table. The temporary folder is shared with other
    // users: there the file must be ours and no symbolic link.
    TRecordFile file("", TScoreTable::RecordSize);
    bool opened = false;
    for (const bool shared : {false, true}) {
        file.Assign(shared ? TemporaryPath() : WorkingPath());
        file.SetPrivate(shared);
        try {
            if (TRecordFile::FileExists(file.Path())) {
                file.OpenExisting(TFileAccess::ReadWrite);
            } else {
                file.CreateOrTruncate();
                Table = TScoreTable{};
            }
            opened = true;
            break;
        } catch (const EInOutError&) {
        }
    }
    if (!opened) {
        Warn(ScoresMissingOrCorrupt);
        return;
    }
    try {
        file.Seek(0);
        while (!file.Eof()) {
            TScoreTable::Record record;
            file.Read(record.data());
            Table = TScoreTable::Decode(record);
        }
    } catch (const EInOutError&) {
        Warn(ScoresMissingOrCorrupt);
    }
    try {
        file.Close();
    } catch (const EInOutError&) {
    }
}

bool TScoreKeeper::SaveTo(const std::string& path, bool inSharedFolder) const {
    if (inSharedFolder) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 &&
            (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid())) {
            return false; // a link someone planted, or another user's file
        }
    }
    const TScoreTable::Record record = Table.Encode();
    return ReplaceFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(record.data()), record.size()),
        inSharedFolder);
}

void TScoreKeeper::SaveScores() {
    if (!SaveTo(WorkingPath(), false) && !SaveTo(TemporaryPath(), true)) {
        Warn(ScoresNotSaved);
    }
}

int TScoreKeeper::PlaceScore(std::int32_t score) {
    LoadScores();
    Table.Entry[TScoreTable::WorkingSlot] = TScoreEntry{std::string(NewEntryPlaceholder), score};
    return SortScores(Table, 0, TScoreTable::WorkingSlot);
}

void TScoreKeeper::SetScore(const QString& name, std::int32_t score, int position) {
    Table.Entry[position] = TScoreEntry{NameBytes(name), score};
}

void TScoreKeeper::ResetScores() {
    TRecordFile file(WorkingPath(), TScoreTable::RecordSize);
    try {
        file.CreateOrTruncate();
        file.Close();
        Table = TScoreTable{};
    } catch (const EInOutError&) {
        Warn(ScoresNotSaved);
    }
}

std::string TScoreKeeper::NameBytes(const QString& name) {
    std::string bytes;
    for (const char32_t character : name.toUcs4()) {
        if (bytes.size() == TScoreEntry::MaxName) {
            break;
        }
        bytes.push_back(character < 256 ? static_cast<char>(character) : '?');
    }
    return bytes;
}
