#include "StoreFixture.h"

#include "wordstore/StoreFormat.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <linux/capability.h>
#include <sstream>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace StoreFormat;

void WriteStoreFiles(const std::string& folder, const std::string& stem,
                     const TStoreLayout& layout) {
    std::string index;
    const IndexRecord header = MakeHeader({layout.WordCount, layout.RootRec, layout.Height});
    index.append(reinterpret_cast<const char*>(header.data()), header.size());
    for (const TNodeLayout& nodeLayout : layout.Nodes) {
        IndexRecord node{};
        const auto count = static_cast<std::int32_t>(nodeLayout.Keys.size());
        SetKeyCount(node,
                    nodeLayout.KeyCountOverride != -1000 ? nodeLayout.KeyCountOverride : count);
        for (int k = 0; k < count; ++k) {
            SetKey(node, k, nodeLayout.Keys[k]);
        }
        for (std::size_t p = 0; p < nodeLayout.Pointers.size(); ++p) {
            SetPointer(node, static_cast<int>(p), nodeLayout.Pointers[p]);
        }
        index.append(reinterpret_cast<const char*>(node.data()), node.size());
    }
    std::string data;
    for (const std::string& word : layout.Data) {
        const DataRecord record = MakeDataRecord(word);
        data.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    WriteBytes(folder + "/" + stem + ".idx", index);
    WriteBytes(folder + "/" + stem + ".dat", data);
}

TTempFolder::TTempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lexipede-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TTempFolder::~TTempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write fixture " + path);
    }
}

void TruncateFile(const std::string& path, long size) {
    if (::truncate(path.c_str(), size) != 0) {
        throw std::runtime_error("cannot truncate " + path);
    }
}

bool RunUnprivileged(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

namespace {

struct TCapabilities {
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct Data[2]{};
};

constexpr std::uint32_t FileOverrides = 1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH;

} // namespace

TObeyFilePermissions::TObeyFilePermissions() {
    TCapabilities caps;
    if (::syscall(SYS_capget, &caps.Header, caps.Data) != 0) {
        throw std::runtime_error("capget failed");
    }
    savedEffective_ = caps.Data[0].effective;
    caps.Data[0].effective &= ~FileOverrides;
    if (::syscall(SYS_capset, &caps.Header, caps.Data) != 0) {
        throw std::runtime_error("capset failed");
    }
}

TObeyFilePermissions::~TObeyFilePermissions() {
    TCapabilities caps;
    ::syscall(SYS_capget, &caps.Header, caps.Data);
    caps.Data[0].effective = savedEffective_;
    ::syscall(SYS_capset, &caps.Header, caps.Data);
}
