#pragma once

// What every fuzz target defines: libFuzzer's entry point, which takes one input and must neither crash nor let any
// exception but the expected refusal escape, and the writer of its seeds, which the replay program runs for
// --write-seeds.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Writes the target's seeds, each made by the project's own writers, into folder (which exists).
void WriteFuzzSeeds(const std::filesystem::path& folder);

// One seed file.
inline void WriteFuzzSeed(const std::filesystem::path& folder, const std::string& name,
                          const std::vector<uint8_t>& bytes)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// For readers that take a file by its path: the input as the file at path, and a file's bytes as a writer left them.
inline void WriteFuzzInputFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline std::vector<uint8_t> ReadFuzzFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The input with a prefix put in front, for targets that take a choice or a version from the first bytes.
inline std::vector<uint8_t> WithPrefix(std::vector<uint8_t> prefix, const std::vector<uint8_t>& rest)
{
    prefix.insert(prefix.end(), rest.begin(), rest.end());
    return prefix;
}

// The same for the bytes a writer left in a memory file (anything with GetBuffer and GetLength, such as CMemFile).
template <class MemoryFile> std::vector<uint8_t> WithPrefix(std::vector<uint8_t> prefix, const MemoryFile& file)
{
    prefix.insert(prefix.end(), file.GetBuffer(), file.GetBuffer() + file.GetLength());
    return prefix;
}
