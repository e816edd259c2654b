#pragma once

// Fixtures that write word store files directly, node by node, so tests can make
// odd and damaged shapes the builder never would.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TNodeLayout {
    std::vector<std::string> Keys;
    std::vector<std::int32_t> Pointers;    // slots 0..n
    std::int32_t KeyCountOverride = -1000; // write this key count instead of Keys.size()
};

struct TStoreLayout {
    std::int32_t WordCount = 0;
    std::int32_t RootRec = -1;
    std::int32_t Height = 0;
    std::vector<TNodeLayout> Nodes; // index records 1, 2, ...
    std::vector<std::string> Data;  // data records 0, 1, ...
};

void WriteStoreFiles(const std::string& folder, const std::string& stem,
                     const TStoreLayout& layout);

// A fresh folder under the temporary folder, removed with everything in it.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
void TruncateFile(const std::string& path, long size);

// Runs check in a child process without root's privileges (as "nobody" when the
// tests run as root), so that file permissions really apply. Returns check's result.
bool RunUnprivileged(const std::function<bool()>& check);

// While it lives, the calling thread obeys file permissions even as root: the
// capabilities that override them are taken out of its effective set, and put
// back at the end.
class TObeyFilePermissions {
public:
    TObeyFilePermissions();
    ~TObeyFilePermissions();
    TObeyFilePermissions(const TObeyFilePermissions&) = delete;
    TObeyFilePermissions& operator=(const TObeyFilePermissions&) = delete;

private:
    std::uint32_t savedEffective_ = 0;
};
