#pragma once

// What the file-reading fuzz targets share: a scratch folder of their own for
// the process, and the input cut into the files the code under test opens.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A folder under the temporary folder, made once per process.
const std::string& ScratchFolder();

// Writes bytes to folder/name, replacing what was there.
void WriteScratchFile(const std::string& path, std::string_view bytes);

// A word store input: byte 0 is the number of whole index records, the index
// file takes that many records' worth of the bytes after it (or what is left),
// and the data file gets the rest. Seeds and findings stay readable that way.
struct TStoreInput {
    std::string_view Index;
    std::string_view Data;
};
TStoreInput SplitStoreInput(const std::uint8_t* data, std::size_t size);
