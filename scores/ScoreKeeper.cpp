#include "ScoreKeeper.h"

#include "platform/AtomicFile.h"
#include "platform/InOutError.h"
#include "platform/RecordFile.h"

#include <QDir>
#include <cerrno>

namespace {

const std::string FileName = "SCORES.DAT";

// Opens an existing SCORES.DAT for reading and writing, never through a
// symbolic link; in the temporary folder, which other users share, only a file
// of our own. A missing file fails with ENOENT.
void OpenScoreFile(TRecordFile& file, const std::string& path, bool shared) {
    file.Assign(path);
    file.SetPrivate(shared);
    file.SetFollowLinks(false);
    file.OpenExisting(TFileAccess::ReadWrite);
}

enum class TOpened { No, Existing, Created };

// Opens SCORES.DAT at path, or creates it empty where there is none (never over
// a link, nor over a file that appeared meanwhile).
TOpened OpenOrCreate(TRecordFile& file, const std::string& path, bool shared) {
    try {
        OpenScoreFile(file, path, shared);
        return TOpened::Existing;
    } catch (const EInOutError& error) {
        if (error.ErrorCode() != ENOENT) {
            return TOpened::No;
        }
    }
    try {
        file.CreateNew();
        return TOpened::Created;
    } catch (const EInOutError&) {
        return TOpened::No;
    }
}

// For a folder that allows no new file while the file itself may be written:
// record 0 is rewritten and the file cut to it. Until the cut, a failure puts
// back the bytes the file held (its first record, its length), so the file
// never holds a table that mixes the old and the new. A write stopped by a file
// size limit changed nothing beyond the limit, which stops the restoring write
// at the same byte. After the cut the file holds the new table whole.
bool RewriteInPlace(TRecordFile& file, const TScoreTable::Record& record) {
    TScoreTable::Record before{};
    std::int64_t size = 0;
    try {
        size = file.FileSize();
        file.Seek(0);
        file.ReadAvailable(before.data());
    } catch (const EInOutError&) {
        return false; // nothing was changed
    }
    bool cut = false;
    try {
        file.Seek(0);
        file.Write(record.data());
        file.Truncate(1);
        cut = true;
        file.Flush();
        return true;
    } catch (const EInOutError&) {
    }
    if (cut) {
        return false; // the new table, not known to be on the disk
    }
    try {
        file.Seek(0);
        file.Write(before.data());
    } catch (const EInOutError&) {
    }
    try {
        file.Resize(size);
        file.Flush();
    } catch (const EInOutError&) {
    }
    return false;
}

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
    // empty, which empties the table.
    TRecordFile file("", TScoreTable::RecordSize);
    TOpened opened = OpenOrCreate(file, WorkingPath(), false);
    if (opened == TOpened::No) {
        opened = OpenOrCreate(file, TemporaryPath(), true);
    }
    if (opened == TOpened::No) {
        Warn(ScoresMissingOrCorrupt);
        return;
    }
    if (opened == TOpened::Created) {
        Table = TScoreTable{};
    }
    try {
        // The table is the last whole record: only that one is read, so a file
        // of any length loads at once. A partial record after it is damage.
        const std::int64_t records = file.RecordCount();
        if (records > 0) {
            TScoreTable::Record record;
            file.Seek(records - 1);
            file.Read(record.data());
            Table = TScoreTable::Decode(record);
        }
        if (file.FileSize() % TScoreTable::RecordSize != 0) {
            Warn(ScoresMissingOrCorrupt);
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
    const TScoreTable::Record record = Table.Encode();
    TRecordFile existing("", TScoreTable::RecordSize);
    unsigned mode = 0600;
    try {
        OpenScoreFile(existing, path, inSharedFolder);
        mode = inSharedFolder ? 0600 : existing.Mode();
    } catch (const EInOutError& error) {
        if (error.ErrorCode() != ENOENT) {
            return false; // a link, a read-only file or another user's: never replaced
        }
        mode = inSharedFolder ? 0600 : 0644;
    }
    switch (ReplaceFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(record.data()), record.size()),
        mode)) {
    case TReplaceOutcome::Replaced:
        return true;
    case TReplaceOutcome::FolderRefused:
        return existing.IsOpen() && RewriteInPlace(existing, record);
    case TReplaceOutcome::Failed:
        break;
    }
    return false;
}

bool TScoreKeeper::WorkingFileUsable() const {
    TRecordFile file("", TScoreTable::RecordSize);
    try {
        OpenScoreFile(file, WorkingPath(), false);
        return true;
    } catch (const EInOutError&) {
        return false;
    }
}

void TScoreKeeper::SaveScores() {
    if (SaveTo(WorkingPath(), false)) {
        return;
    }
    // The next load reads a usable file in the working folder, so a score kept
    // only in the temporary folder would vanish from the table without a word.
    if (!SaveTo(TemporaryPath(), true) || WorkingFileUsable()) {
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
    file.SetFollowLinks(false);
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
