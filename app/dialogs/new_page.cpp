#include "app/dialogs/new_page.h"

#include "platform/win/codepage1252.h"

#include <algorithm>
#include <cstring>

std::vector<std::string> BuildDuplicateList(const std::vector<std::string>& names, int homeIndex,
                                            const std::string& suffix)
{
    std::vector<std::string> entries;
    for (size_t i = 0; i < names.size(); ++i)
        entries.push_back(static_cast<int>(i) == homeIndex ? names[i] + suffix : names[i]);
    // Stable, so that names equal but for case keep the site's order.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::string& a, const std::string& b) { return LowerCase1252(a) < LowerCase1252(b); });
    return entries;
}

std::string DuplicateSourceName(const std::string& entry, const std::string& suffix, const std::string& homeName)
{
    const size_t at = suffix.empty() ? std::string::npos : entry.find(suffix);
    return at != std::string::npos && at > 0 ? homeName : entry;
}

bool RemoveNewPageIdCharacters(std::string& id)
{
    static const char kIllegal[] = "/ -@_.;(){}^[]:<>\\&%\xAC";
    const size_t before = id.size();
    std::erase_if(id, [](char c) { return c != '\0' && std::strchr(kIllegal, c) != nullptr; });
    return id.size() != before;
}
