#pragma once

// libcurl, loaded the first time a connection is made rather than linked: with its TLS, Kerberos, LDAP and SSH
// libraries it is some thirty shared libraries and several megabytes that a program start need not map. Every call
// of libcurl goes through the table, which holds libcurl's own functions.

#include <curl/curl.h>

#include <string>

struct CurlLibrary
{
    decltype(&::curl_global_init) global_init;
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_easy_escape) easy_escape;
    decltype(&::curl_easy_strerror) easy_strerror;
    decltype(&::curl_free) free;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_multi_init) multi_init;
    decltype(&::curl_multi_cleanup) multi_cleanup;
    decltype(&::curl_multi_add_handle) multi_add_handle;
    decltype(&::curl_multi_remove_handle) multi_remove_handle;
    decltype(&::curl_multi_perform) multi_perform;
    decltype(&::curl_multi_timeout) multi_timeout;
    decltype(&::curl_multi_poll) multi_poll;
    decltype(&::curl_multi_info_read) multi_info_read;
};

// The library, loaded and initialised (curl_global_init) on the first call, from any thread; null, with the cause in
// *error, when it cannot be loaded or lacks a function. Once loaded it stays.
const CurlLibrary* LoadCurlLibrary(std::string* error = nullptr);
