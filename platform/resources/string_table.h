#pragma once

// The string table: texts by numeric id, kept in the resource folder as strings.xml,
//     <strings><string id="6">White to black</string> ...</strings>
// in UTF-8, and handed out as the program's Windows-1252 text. A string the code asks for by itself carries a name,
//     <string id="3051" name="IDS_ONE_SITE_OPEN">...</string>
// which the build turns into a constant of string_ids.h; the table reads past it.

#include "platform/resources/string_ids.h"

#include <filesystem>
#include <map>
#include <string>

class CStringTable
{
public:
    // Replaces the table with the file's. On failure the table is left empty and *error (when given) says why:
    // the file is missing or not well-formed XML, an id is not a number or occurs twice, or a text holds a
    // character Windows-1252 lacks.
    bool Load(const std::filesystem::path& file, std::string* error = nullptr);

    // False, with text unchanged, when the table holds no such id.
    bool Find(unsigned id, std::string& text) const;

    bool IsEmpty() const { return m_strings.empty(); }

private:
    std::map<unsigned, std::string> m_strings;
};

// A text of the program's table (strings.xml in the resource folder, read on first use and again when the folder
// changes). False when the table cannot be read or holds no such id.
bool LoadResourceString(unsigned id, std::string& text);
// The text of id, or fallback when the table has none.
std::string ResourceText(unsigned id, const std::string& fallback = {});
