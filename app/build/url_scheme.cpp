#include "app/build/url_scheme.h"

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

constexpr int kHostAndPort = 6;
constexpr int kLeadingColon = 7;

bool IsBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What is left of an address while it is repaired. Every repair cuts from the front only, so the address is a
// window on the typed text that moves forward: a cut costs what it removes, and the next colon, dot, backslash,
// slash or "@" is searched for once and kept until the window passes it. A long run of colons or schemes is thus
// repaired in time linear in its length, where copying what is left at every cut took time of its square.
class Remainder
{
public:
    // Trailing blanks are never part of the address; leading ones are skipped where the repair trims.
    explicit Remainder(std::string_view text) : m_text(text)
    {
        while (!m_text.empty() && IsBlank(m_text.back()))
            m_text.remove_suffix(1);
    }

    size_t Start() const { return m_start; }
    size_t End() const { return m_text.size(); }
    char At(size_t i) const { return m_text[i]; }
    std::string_view Rest() const { return m_text.substr(m_start); }
    std::string_view Between(size_t from, size_t to) const { return m_text.substr(from, to - from); }

    // The first position at or after from that is not blank.
    size_t FirstNonBlank(size_t from) const
    {
        while (from < m_text.size() && IsBlank(m_text[from]))
            ++from;
        return from;
    }
    void SkipBlanks() { m_start = FirstNonBlank(m_start); }
    void CutTo(size_t position) { m_start = position; }
    void CutWhile(std::string_view characters)
    {
        while (m_start < m_text.size() && characters.find(m_text[m_start]) != std::string_view::npos)
            ++m_start;
    }

    // The first position of c at or after from (which never goes back), npos when there is none.
    size_t Next(char c, size_t from)
    {
        Found& found = m_found[Slot(c)];
        if (!found.known || from < found.from || (found.at != std::string_view::npos && found.at < from)) {
            found.known = true;
            found.from = from;
            found.at = m_text.find(c, from);
        }
        return found.at;
    }

    // The length of the class's first prefix (in table order) at position p, case ignored; 0 when none is there.
    size_t PrefixAt(size_t p, int schemeClass) const
    {
        for (std::string_view prefix : kSchemes[schemeClass].prefixes) {
            if (prefix.empty() || m_text.size() - p < prefix.size())
                continue;
            size_t i = 0;
            while (i < prefix.size() && Lower(m_text[p + i]) == prefix[i])
                ++i;
            if (i == prefix.size())
                return prefix.size();
        }
        return 0;
    }

    // The number behind a host's colon as atoi reads it (blanks, a sign, digits), when it has at least one digit and
    // lies in lo..hi. Digits past the range are not read on: the value is out of it already.
    bool PortAt(size_t p, long long lo, long long hi) const
    {
        p = FirstNonBlank(p);
        bool negative = false;
        if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
            negative = m_text[p++] == '-';
        if (p >= m_text.size() || !IsDigit(m_text[p]))
            return false;
        long long value = 0;
        for (; p < m_text.size() && IsDigit(m_text[p]) && value <= hi; ++p)
            value = value * 10 + (m_text[p] - '0');
        if (negative)
            value = -value;
        return value >= lo && value <= hi;
    }

private:
    struct Found
    {
        bool known = false;
        size_t from = 0;
        size_t at = std::string_view::npos;
    };
    static size_t Slot(char c)
    {
        constexpr std::string_view kSought = ":.\\/@]";
        return kSought.find(c);
    }

    std::string_view m_text;
    size_t m_start = 0;
    std::array<Found, 6> m_found;
};

// The colon that ends the host at p, npos when there is none. A host in brackets (an IPv6 address,
// "[2001:db8::1]") holds colons of its own: only a colon right behind its closing bracket starts a port.
size_t HostColon(Remainder& address, size_t p)
{
    if (p < address.End() && address.At(p) == '[') {
        const size_t close = address.Next(']', p);
        if (close != std::string_view::npos)
            return close + 1 < address.End() && address.At(close + 1) == ':' ? close + 1 : std::string_view::npos;
    }
    return address.Next(':', p);
}

// The scheme class of the address that starts at p (its leading blanks passed over).
int Classify(Remainder& address, size_t p)
{
    p = address.FirstNonBlank(p);
    for (int schemeClass = 1; schemeClass <= 5; ++schemeClass)
        if (address.PrefixAt(p, schemeClass) > 0)
            return schemeClass;
    const size_t colon = HostColon(address, p);
    if (colon != std::string_view::npos && colon > p) {
        const size_t backslash = address.Next('\\', p);
        // "user:password@host" names its user, not a host and a port: the address keeps its host and path.
        const size_t at = address.Next('@', p);
        const size_t slash = address.Next('/', p);
        const bool userInformation = at != std::string_view::npos && (slash == std::string_view::npos || at < slash);
        // A colon followed by no digit ("mailto:", "C:/") is no port.
        if ((backslash == std::string_view::npos || colon > backslash) && !userInformation &&
            address.PortAt(colon + 1, 0, 65535))
            return kHostAndPort;
    }
    if (colon == p && address.Next('.', p) == std::string_view::npos)
        return kLeadingColon;
    return 0;
}

void StripWithList(Remainder& address, int schemeClass)
{
    address.CutTo(address.Start() + address.PrefixAt(address.Start(), schemeClass));
    address.CutWhile(":");
    address.CutWhile("/\\");
}

void RemoveThroughFirstColon(Remainder& address)
{
    address.CutTo(address.Next(':', address.Start()) + 1);
    address.CutWhile("/\\");
}

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {})
{
    std::string joined;
    joined.reserve(a.size() + b.size() + c.size());
    joined.append(a).append(b).append(c);
    return joined;
}

} // namespace

int GetUrlScheme(const std::string& url)
{
    Remainder address(url);
    return Classify(address, 0);
}

// Each repair that finds another scheme behind the one it removed starts over on what is left. A host and port
// found behind a scheme keep that scheme ("https://host:443/x" stays secure); a second scheme behind the first
// replaces it. What the repair writes repairs to itself: a host never starts with a slash, which the next repair
// would take for the slashes after the scheme.
void FixUrl(std::string& url)
{
    Remainder address(url);
    std::string_view hostScheme = kSchemes[0].written;
    for (;;) {
        address.SkipBlanks();
        const int schemeClass = Classify(address, address.Start());
        if (schemeClass <= 5) {
            StripWithList(address, schemeClass);
            if (Classify(address, address.Start()) != 0) {
                hostScheme = kSchemes[schemeClass].written;
                continue;
            }
            url = Concat(kSchemes[schemeClass].written, address.Rest());
            return;
        }
        if (schemeClass == kHostAndPort) {
            if (address.At(address.Start()) == '/' || address.At(address.Start()) == '\\') {
                address.CutWhile("/\\");
                continue;
            }
            const size_t colon = HostColon(address, address.Start());
            const std::string_view host = address.Between(address.Start(), colon + 1);
            if (!address.PortAt(colon + 1, 1, 65534)) {
                url = Concat(hostScheme, host, "80");
                return;
            }
            if (Classify(address, colon + 1) == 0) {
                url = Concat(hostScheme, host, address.Between(colon + 1, address.End()));
                return;
            }
            address.CutTo(colon + 1);
            continue;
        }
        RemoveThroughFirstColon(address);
    }
}

void StripUrlScheme(std::string& url)
{
    Remainder address(url);
    int schemeClass = Classify(address, 0);
    if (schemeClass == 0)
        return;
    // Behind a host the rest is kept in lower case; a port that is none leaves "80".
    bool lower = false;
    for (; schemeClass != 0; schemeClass = Classify(address, address.Start())) {
        address.SkipBlanks();
        if (schemeClass <= 5) {
            StripWithList(address, schemeClass);
        } else if (schemeClass == kHostAndPort) {
            const size_t colon = HostColon(address, address.Start());
            if (!address.PortAt(colon + 1, 1, 65534)) {
                url = "80";
                return;
            }
            address.CutTo(colon + 1);
            lower = true;
        } else {
            RemoveThroughFirstColon(address);
        }
    }
    std::string stripped(address.Rest());
    if (lower)
        for (char& c : stripped)
            c = Lower(c);
    url = std::move(stripped);
}
