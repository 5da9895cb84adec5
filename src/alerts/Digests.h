#pragma once

// The signatures and identifiers the channels need, over OpenSSL.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvel::alerts {

// The 32 raw bytes of HMAC-SHA256(key, message).
std::string HmacSha256(std::string_view key, std::string_view message);
// The 32 raw bytes of SHA-256(bytes).
std::string Sha256(std::string_view bytes);

// Standard base64 with padding, on one line.
std::string Base64(std::string_view bytes);
// Lower-case hexadecimal.
std::string Hex(std::string_view bytes);
// RFC 3986 percent-encoding: every byte but letters, digits and "-._~" as %XX.
std::string PercentEncode(std::string_view bytes);

// `count` bytes from OpenSSL's random generator, as hexadecimal.
std::string RandomHex(std::size_t count);

}  // namespace korvel::alerts
