#pragma once

// A handle's own cookie engine, filled from a kept session before a request and read back after.

#include <curl/curl.h>

#include <string>

namespace korvel {

// Empties the engine, then loads these Netscape cookies.txt lines.
void LoadSessionCookies(CURL* handle, const std::string& lines);

// Every cookie the engine holds, one Netscape line each.
std::string EngineCookies(CURL* handle);

}  // namespace korvel
