#pragma once

// Repair of link addresses the user typed: a missing scheme is added, a misspelt one ("htps:", "telne:") is
// replaced by the right one, and stray colons and slashes after a scheme go. The same classifier strips schemes.

#include <string>

// The address's scheme class: 1 http, 2 https, 3 ftp, 4 telnet, 5 gopher (each with its common misspellings),
// 6 host and port ("host:8080/...": digits after the colon, and no "@" before the first "/", which would make the
// text before it user information; a host in brackets, "[2001:db8::1]:443/...", has its port after the closing
// bracket), 7 a leading colon before text without a dot, 0 none of these. Case and surrounding blanks do not count.
int GetUrlScheme(const std::string& url);

// Trims the address and gives it its scheme's prefix ("http://" when it has none). The text after the scheme keeps
// its case; a host with a port keeps the scheme written before it. What it writes it leaves as it is when given it
// again. Linear in the address's length.
void FixUrl(std::string& url);

// Removes every scheme from the start of the address, trimming it when it has one.
void StripUrlScheme(std::string& url);
