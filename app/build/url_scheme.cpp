#include "app/build/url_scheme.h"

#include "platform/win/leading_number.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

struct SchemeClass
{
    std::array<std::string_view, 7> prefixes; // in the order they are tried; empty entries end the list
    std::string_view written;
};

// Indexed by class; class 0 borrows the http list, which cannot match an address of class 0.
constexpr std::array<SchemeClass, 6> kSchemes = {{
    {{"http:", "htt:", "htp:", "ttp:"}, "http://"},
    {{"http:", "htt:", "htp:", "ttp:"}, "http://"},
    {{"https:", "htts:", "htps:", "ttps:"}, "https://"},
    {{"ftp:", "ft:", "fp:", "tp:"}, "ftp://"},
    {{"telnet:", "telne:", "telnt:", "telet:", "tenet:", "tlnet:", "elnet:"}, "telnet://"},
    {{"gopher:", "gophe:", "gophr:", "goper:", "goher:", "gpher:", "opher:"}, "gopher://"},
}};

bool IsBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

void Trim(std::string& s)
{
    size_t end = s.size();
    while (end > 0 && IsBlank(s[end - 1]))
        --end;
    size_t start = 0;
    while (start < end && IsBlank(s[start]))
        ++start;
    s = s.substr(start, end - start);
}

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

size_t MatchingPrefixLength(const std::string& lower, int schemeClass)
{
    for (std::string_view prefix : kSchemes[schemeClass].prefixes)
        if (!prefix.empty() && std::string_view(lower).starts_with(prefix))
            return prefix.size();
    return 0;
}

void RemoveLeading(std::string& url, std::string_view characters)
{
    url.erase(0, std::min(url.find_first_not_of(characters), url.size()));
}

void StripWithList(std::string& url, int schemeClass)
{
    url.erase(0, MatchingPrefixLength(LowerAscii(url), schemeClass));
    RemoveLeading(url, ":");
    RemoveLeading(url, "/\\");
}

// What the address after a host's colon becomes: the port and the rest when the port is usable, "80" otherwise.
std::string PortPart(const std::string& url)
{
    const std::string after = url.substr(url.find(':') + 1);
    const long long port = LeadingNumber(after);
    return port >= 1 && port <= 65534 ? after : "80";
}

void RemoveThroughFirstColon(std::string& url)
{
    url.erase(0, url.find(':') + 1);
    RemoveLeading(url, "/\\");
}

} // namespace

int GetUrlScheme(const std::string& url)
{
    std::string lower = url;
    Trim(lower);
    lower = LowerAscii(lower);
    for (int schemeClass = 1; schemeClass <= 5; ++schemeClass)
        if (MatchingPrefixLength(lower, schemeClass) > 0)
            return schemeClass;
    const size_t colon = lower.find(':');
    if (colon != std::string::npos && colon >= 1) {
        const size_t backslash = lower.find('\\');
        const long long port = LeadingNumber(std::string_view(lower).substr(colon + 1));
        if ((backslash == std::string::npos || colon > backslash) && port >= 0 && port <= 65535)
            return 6;
    }
    if (colon == 0 && lower.find('.') == std::string::npos)
        return 7;
    return 0;
}

// Each repair that finds another scheme behind the one it removed starts over on a shorter address; a loop rather
// than a call keeps a long run of colons from exhausting the stack. A host and port found behind a scheme keep that
// scheme ("https://host:443/x" stays secure); a second scheme behind the first replaces it.
void FixUrl(std::string& url)
{
    std::string_view hostScheme = kSchemes[0].written;
    for (;;) {
        Trim(url);
        const int schemeClass = GetUrlScheme(url);
        if (schemeClass <= 5) {
            StripWithList(url, schemeClass);
            if (GetUrlScheme(url) != 0) {
                hostScheme = kSchemes[schemeClass].written;
                continue;
            }
            url.insert(0, kSchemes[schemeClass].written);
            return;
        }
        if (schemeClass == 6) {
            const std::string host = url.substr(0, url.find(':') + 1);
            std::string port = PortPart(url);
            if (GetUrlScheme(port) == 0) {
                url = std::string(hostScheme) + host + port;
                return;
            }
            url = std::move(port);
            continue;
        }
        RemoveThroughFirstColon(url);
    }
}

void StripUrlScheme(std::string& url)
{
    for (int schemeClass = GetUrlScheme(url); schemeClass != 0; schemeClass = GetUrlScheme(url)) {
        Trim(url);
        if (schemeClass <= 5)
            StripWithList(url, schemeClass);
        else if (schemeClass == 6)
            url = LowerAscii(PortPart(url));
        else
            RemoveThroughFirstColon(url);
    }
}
