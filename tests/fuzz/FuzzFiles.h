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

// Writes a word store input as STEM.idx and STEM.dat in the scratch folder and
// returns the bytes of the data file. Byte 0 of the input is the number of whole index records,
// the index file takes that many records' worth of the bytes after it (or what
// is left), and the data file gets the rest: seeds and findings stay readable.
std::string_view WriteStoreInput(const std::string& stem, const std::uint8_t* data,
                                 std::size_t size);
