#include "platform/resources/string_table.h"

#include "platform/resources/resource_folder.h"
#include "platform/text/codepage.h"

#include <charconv>
#include <optional>
#include <pugixml.hpp>

bool CStringTable::Load(const std::filesystem::path& file, std::string* error)
{
    m_strings.clear();
    auto fail = [&](const std::string& why) {
        m_strings.clear();
        if (error)
            *error = file.string() + ": " + why;
        return false;
    };

    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(file.c_str());
    if (!parsed)
        return fail(parsed.description());
    const pugi::xml_node root = document.child("strings");
    if (!root)
        return fail("no <strings> element");

    for (const pugi::xml_node entry : root.children("string")) {
        const std::string idText = entry.attribute("id").value();
        unsigned id = 0;
        const auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
        if (idText.empty() || ec != std::errc() || end != idText.data() + idText.size())
            return fail("string id \"" + idText + "\" is not a number");
        std::optional<std::string> text = Utf8ToWindows1252(entry.text().get());
        if (!text)
            return fail("string " + idText + " holds a character Windows-1252 lacks");
        if (!m_strings.emplace(id, std::move(*text)).second)
            return fail("string id " + idText + " occurs twice");
    }
    return true;
}

bool CStringTable::Find(unsigned id, std::string& text) const
{
    const auto found = m_strings.find(id);
    if (found == m_strings.end())
        return false;
    text = found->second;
    return true;
}

bool LoadResourceString(unsigned id, std::string& text)
{
    static std::filesystem::path loadedFrom;
    static CStringTable table;
    const std::filesystem::path file = GetResourceFolder() / "strings.xml";
    if (file != loadedFrom || table.IsEmpty()) {
        table.Load(file);
        loadedFrom = file;
    }
    return table.Find(id, text);
}

std::string ResourceText(unsigned id, const std::string& fallback)
{
    std::string text;
    return LoadResourceString(id, text) ? text : fallback;
}
