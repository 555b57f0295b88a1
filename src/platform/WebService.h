#pragma once
// Addresses of the maker's web service: version query, home page and download page.
//
// The host is fixed at build time but an installation (or a test with a server on 127.0.0.1)
// may point it elsewhere through the environment variable FABRICOR_WEB_HOST, for example
// "127.0.0.1:8080" or "http://updates.example.org".

#include "platform/System.h"

inline constexpr const char *DefaultWebHost = "www.fabricor.example";
inline constexpr const char *WebHostVariable = "FABRICOR_WEB_HOST";

// The host as it appears in the addresses ("www.fabricor.example", "127.0.0.1:8080"), without
// scheme or trailing "/"; read at every call so that a change of the variable takes effect.
UnicodeString WebServiceHost();

// "http://<host>" (or the scheme the variable gives), without a trailing "/".
UnicodeString WebServiceBaseURL();

// "<base>/HOME/default.asp?frompg=<FromPage>"
UnicodeString WebHomePageURL(const UnicodeString &FromPage);

// "<base>/Home/download/download.asp#<Device>"
UnicodeString WebDownloadPageURL(const UnicodeString &Device);

// "<base>/home/download/GetversionSW.asp?nomesw=<SWCode>"
UnicodeString WebVersionQueryURL(const UnicodeString &SWCode);
