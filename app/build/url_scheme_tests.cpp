#include "app/build/url_scheme.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SchemeCase
{
    const char* url;
    int schemeClass;
};

TEST(GetUrlScheme, ClassifiesByPrefixHostAndLeadingColon)
{
    const SchemeCase cases[] = {
        {"www.example.com", 0},
        {"", 0},
        {"HTTP://a", 1},
        {"htt:a", 1},
        {"htp:a", 1},
        {"ttp:a", 1},
        {"https:a", 2},
        {"htts:a", 2},
        {"htps:a", 2},
        {"ttps:a", 2},
        {"ftp:a", 3},
        {"ft:a", 3},
        {"fp:a", 3},
        {"tp:a", 3},
        {"telnet:a", 4},
        {"elnet:a", 4},
        {"tenet:a", 4},
        {"gopher:a", 5},
        {"goher:a", 5},
        {"opher:a", 5},
        {"  http:a  ", 1},
        {"host:8080/x", 6},
        {"host:letters", 6}, // no digits read as 0
        {"host:65535", 6},
        {"host:65536", 0},
        {"host:-1", 0},
        {"host:99999999999999999999", 0}, // far beyond a port, without overflowing
        {"C:\\dir\\page.html", 0},        // the colon stands before the backslash
        {"a\\b:80", 6},
        {":nodot", 7},
        {":with.dot", 0},
        {"mailto:x@y.z", 6},
        {"xhttp:a", 6}, // prefixes count only at the very start
    };
    for (const SchemeCase& c : cases)
        EXPECT_EQ(GetUrlScheme(c.url), c.schemeClass) << c.url;
}

struct RepairCase
{
    const char* url;
    const char* fixed;
};

TEST(FixUrl, AddsOrRepairsTheScheme)
{
    const RepairCase cases[] = {
        {"www.Example.com/Page", "http://www.Example.com/Page"},
        {"HTTP://www.Example.com/A", "http://www.Example.com/A"},
        {"http:www.a.com", "http://www.a.com"},
        {"http:///\\:www.a.com", "http://:www.a.com"},
        {"htps://secure.a.com", "https://secure.a.com"},
        {"telne:host.a.com", "telnet://host.a.com"},
        {"fp://files.a.com", "ftp://files.a.com"},
        {"opher://g.a.com", "gopher://g.a.com"},
        {"http://ftp://files.a.com", "ftp://files.a.com"}, // the second scheme wins
        {"Host.A.com:8080/Path/Page", "http://Host.A.com:8080/Path/Page"},
        {"Host.A.com:letters", "http://Host.A.com:80"},
        // A host and port behind a scheme keep that scheme, repaired when misspelt.
        {"https://host:443/x", "https://host:443/x"},
        {"HTTPS://Shop.A.com:8443/Cart/Item", "https://Shop.A.com:8443/Cart/Item"},
        {"htps:host:443/X", "https://host:443/X"},
        {"ftp://files.a.com:21/Pub", "ftp://files.a.com:21/Pub"},
        {"http://ftp://files.a.com:21/Pub", "ftp://files.a.com:21/Pub"},
        {"https://host:letters", "https://host:80"},
        {"host:0", "http://host:80"},
        {"host:65535", "http://host:80"},
        {"host:65534", "http://host:65534"},
        {"C:\\Site\\Page.html", "http://C:\\Site\\Page.html"},
        {":nodot", "http://nodot"},
        {"://nodot", "http://nodot"},
        {":www.a.com", "http://www.a.com"},
        {"  www.a.com \t\r\n", "http://www.a.com"},
        {"", "http://"},
    };
    for (const RepairCase& c : cases) {
        std::string url = c.url;
        FixUrl(url);
        EXPECT_EQ(url, c.fixed) << c.url;
    }
}

TEST(FixUrl, LongRunsOfSchemesAndColonsEndWithoutExhaustingTheStack)
{
    std::string colons(5000, ':');
    colons += "name";
    FixUrl(colons);
    EXPECT_EQ(colons, "http://name");

    std::string schemes;
    for (int i = 0; i < 1000; ++i)
        schemes += "http://";
    schemes += "a.com";
    FixUrl(schemes);
    EXPECT_EQ(schemes, "http://a.com");
}

TEST(StripUrlScheme, RemovesEverySchemeAndLeavesPlainAddressesAlone)
{
    const RepairCase cases[] = {
        {"http://www.a.com/X", "www.a.com/X"},
        {" https://ftp://a.com ", "a.com"},
        {"host:8080/Path", "8080/path"},
        {"host:none", "80"},
        {":nodot", "nodot"},
        {"www.a.com", "www.a.com"},
        {"  www.a.com  ", "  www.a.com  "}, // nothing to strip, nothing changed
    };
    for (const RepairCase& c : cases) {
        std::string url = c.url;
        StripUrlScheme(url);
        EXPECT_EQ(url, c.fixed) << c.url;
        EXPECT_EQ(GetUrlScheme(url), 0) << c.url;
    }
}

} // namespace
