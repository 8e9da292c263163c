#pragma once

// The name and version a program file describes itself with. Programs here carry no version resource: the
// description comes from a desktop entry (its Name and Version keys) when the path names one, and a plain
// executable has none. The file is only read, never run.

#include <array>
#include <string>

class CFileVersionInfo
{
public:
    // Indices of GetString.
    enum
    {
        companyName = 0,
        fileDescription = 1,
        fileVersion = 2,
        internalName = 3,
        legalCopyright = 4,
        legalTrademarks = 5,
        originalFilename = 6,
        productName = 7,
        productVersion = 8,
        stringCount = 9,
    };

    virtual ~CFileVersionInfo() = default;

    // True when the file is a desktop entry with a Name in its "[Desktop Entry]" group. Whatever an earlier Load
    // read is dropped first.
    bool Load(const std::string& path);

    // The value of one entry by index; empty when nothing is loaded, the entry is missing or the index is out of
    // range. The Name answers as the file description and product name, the Version as file and product version.
    std::string GetString(int index) const;

    // The same from the text of a desktop entry.
    bool LoadFromText(const std::string& text);

    // The desktop entry's command line (its Exec key), escapes undone; empty when it has none.
    const std::string& GetCommandLine() const { return m_commandLine; }

private:
    std::array<std::string, stringCount> m_strings;
    std::string m_commandLine;
};
