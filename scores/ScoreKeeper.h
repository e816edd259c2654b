#pragma once

#include "ScoreTable.h"

#include <QString>
#include <functional>
#include <string>

// Where SCORES.DAT is looked for: the working directory first, the user's
// temporary folder when the file cannot be used there.
struct TScoreFolders {
    std::string Working;   // "" for the process's working directory
    std::string Temporary; // QDir::tempPath(), which honours TMPDIR

    static TScoreFolders Default();
};

inline const QString ScoresMissingOrCorrupt =
    QStringLiteral("The high scores file is missing or corrupt!");
inline const QString ScoresNotSaved =
    QStringLiteral("Something went wrong saving the high scores!");

// The table of the ten best scores and its file. No window: problems are told
// through Warn with the exact text the player sees.
class TScoreKeeper {
public:
    explicit TScoreKeeper(TScoreFolders folders);

    TScoreTable Table; // all empty at first
    std::function<void(const QString&)> Warn;

    // Fills the table from the file, creating an empty file where none exists.
    // The last whole record of the file is the table; it alone is read.
    void LoadScores();
    // Writes the table as one record. The new file replaces the old one only
    // once it is whole on disk, so a failed save leaves the previous table as it
    // was. A file that cannot be opened for writing, or a link, is never
    // replaced: the temporary folder serves instead, as it does for loading.
    void SaveScores();
    // Loads, places score with the placeholder and returns its position 0 to
    // 10; 10 means the score does not enter the table.
    int PlaceScore(std::int32_t score);
    void SetScore(const QString& name, std::int32_t score, int position);
    // Empties the table and the file in the working directory (not the copy in
    // the temporary folder).
    void ResetScores();

    // A typed name as the file stores it: Latin-1 bytes, "?" for any other
    // character, at most 20.
    static std::string NameBytes(const QString& name);

    std::string WorkingPath() const;
    std::string TemporaryPath() const;

private:
    bool SaveTo(const std::string& path, bool inSharedFolder) const;
    bool WorkingFileUsable() const;

    TScoreFolders folders_;
};
