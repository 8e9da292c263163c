#pragma once

// Helpers of the model's tests: memory files from and to byte lists, and the stored forms of values.

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/file.h"

inline std::vector<BYTE> FileBytes(const CMemFile& file)
{
    const BYTE* data = file.GetBuffer();
    return data ? std::vector<BYTE>(data, data + file.GetLength()) : std::vector<BYTE>();
}

// A memory file holding the bytes, positioned at its start.
inline std::unique_ptr<CMemFile> FileOf(const std::vector<BYTE>& bytes)
{
    auto file = std::make_unique<CMemFile>();
    if (!bytes.empty())
        file->Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file->SeekToBegin();
    return file;
}

inline std::vector<BYTE> Concat(std::initializer_list<std::vector<BYTE>> parts)
{
    std::vector<BYTE> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

inline std::vector<BYTE> LE32(uint32_t v)
{
    return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}

// A 4-byte length and the text's bytes, as counted strings are stored.
inline std::vector<BYTE> Counted(const std::string& text)
{
    return Concat({LE32(static_cast<uint32_t>(text.size())), std::vector<BYTE>(text.begin(), text.end())});
}

// Whether reading raises the file exception with the generic cause, as bad data must.
template <class F> bool RaisesBadData(F&& read)
{
    try {
        read();
    } catch (const CFileException& e) {
        return e.m_cause == CFileException::generic && e.m_lOsError == -1;
    }
    return false;
}
