#pragma once

// An alert as an Internet message: UTF-8 subject as RFC 2047 encoded-words, the text as base64
// text/plain; charset=UTF-8, Date and Message-ID as mail readers expect them.

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "alerts/AlertMessage.h"

namespace korvel::alerts {

// A bare address "local@domain" of printable ASCII with nothing a header or an SMTP command could
// be broken with: no spaces, line breaks, angle brackets, commas, quotes.
bool IsMailAddress(std::string_view address);

// "=?UTF-8?B?…?=" words of at most 75 characters, never splitting a character, folded onto
// continuation lines.
std::string EncodedWords(std::string_view utf8);

// The whole message, CR LF line ends. The addresses must pass IsMailAddress.
std::string MailText(const AlertMessage& message, const std::string& from, const std::vector<std::string>& to,
                     std::chrono::system_clock::time_point now);

}  // namespace korvel::alerts
