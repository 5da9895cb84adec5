#pragma once

// How Chromium on Linux seals cookie values: "v10" with a key derived from a fixed password (no
// keyring in use), "v11" with one derived from the password the desktop's Secret Service keeps;
// AES-128-CBC either way. Databases of version 24 and later put a SHA-256 digest of the host
// before the value.

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// PBKDF2-HMAC-SHA1(password, "saltysalt", 1 iteration): the 16-byte AES key.
std::string ChromiumKey(std::string_view password);

// The key of "v10" values.
std::string ChromiumBasicKey();

// The plaintext of `sealed` (without its "v10"/"v11" prefix), or nothing when the key does not
// open it.
std::optional<std::string> OpenChromiumValue(std::string_view sealed, const std::string& key);

}  // namespace korvel
