#include "FuzzFiles.h"

#include "wordstore/StoreFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

const std::string& ScratchFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/lexipede-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

void WriteScratchFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::perror(path.c_str());
        std::abort();
    }
}

std::string_view WriteStoreInput(const std::string& stem, const std::uint8_t* data,
                                 std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view rest = input.substr(std::min<std::size_t>(size, 1));
    const std::size_t indexRecords = size == 0 ? 0 : data[0];
    const std::size_t indexBytes =
        std::min(rest.size(), indexRecords * StoreFormat::IndexRecordSize);
    const std::string& folder = ScratchFolder();
    WriteScratchFile(folder + "/" + stem + ".idx", rest.substr(0, indexBytes));
    WriteScratchFile(folder + "/" + stem + ".dat", rest.substr(indexBytes));
    return rest.substr(indexBytes);
}
