// Loading SCORES.DAT of any content: a damaged file is told with the warning
// and the table as far as it was read, never a crash. A table loaded without a
// warning saves and loads back unchanged.

#include "FuzzFiles.h"
#include "scores/ScoreKeeper.h"

#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TScoreFolders folders = [] {
        const std::string& scratch = ScratchFolder();
        ::mkdir((scratch + "/working").c_str(), 0700);
        ::mkdir((scratch + "/temporary").c_str(), 0700);
        return TScoreFolders{scratch + "/working", scratch + "/temporary"};
    }();
    TScoreKeeper keeper(folders);
    WriteScratchFile(keeper.WorkingPath(),
                     std::string_view(reinterpret_cast<const char*>(data), size));
    int warnings = 0;
    keeper.Warn = [&warnings](const QString&) { ++warnings; };
    keeper.LoadScores();
    if (warnings == 0) {
        const TScoreTable loaded = keeper.Table;
        keeper.SaveScores();
        keeper.Table = TScoreTable{};
        keeper.LoadScores();
        if (warnings != 0 || !(keeper.Table == loaded)) {
            __builtin_trap();
        }
    }
    return 0;
}
