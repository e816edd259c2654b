#pragma once

#include <string>

// The folder of the running executable: its full path cut back to the last "/",
// which is kept ("/opt/lexipede/lexipede" gives "/opt/lexipede/"). A path
// without "/" gives "".
inline std::string ProgramFolder(const std::string& executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    return slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
}

// A folder as a prefix for file names: with a "/" at its end, and "./" for an
// empty folder (never the root).
inline std::string FolderPrefix(const std::string& folder) {
    if (folder.empty()) {
        return "./";
    }
    return folder.back() == '/' ? folder : folder + '/';
}
