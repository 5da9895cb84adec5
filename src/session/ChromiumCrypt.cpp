#include "session/ChromiumCrypt.h"

#include <openssl/evp.h>

#include <memory>

namespace korvel {
namespace {

constexpr int KeyBytes = 16;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

std::optional<std::string> Decrypt(std::string_view input, const std::string& key)
{
    if (key.size() != KeyBytes)
        return std::nullopt;
    static const unsigned char iv[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                         ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    CipherContext context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    if (!context || EVP_DecryptInit_ex(context.get(), EVP_aes_128_cbc(), nullptr, keyBytes, iv) != 1)
        return std::nullopt;
    std::string output(input.size() + 32, '\0');
    auto* out = reinterpret_cast<unsigned char*>(output.data());
    int written = 0;
    int last = 0;
    if (EVP_DecryptUpdate(context.get(), out, &written, reinterpret_cast<const unsigned char*>(input.data()),
                         static_cast<int>(input.size())) != 1 ||
        EVP_DecryptFinal_ex(context.get(), out + written, &last) != 1)
        return std::nullopt;
    output.resize(static_cast<size_t>(written + last));
    return output;
}

}  // namespace

std::string ChromiumKey(std::string_view password)
{
    static constexpr std::string_view salt = "saltysalt";
    std::string key(KeyBytes, '\0');
    PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()),
                           reinterpret_cast<const unsigned char*>(salt.data()), static_cast<int>(salt.size()), 1,
                           KeyBytes, reinterpret_cast<unsigned char*>(key.data()));
    return key;
}

std::string ChromiumBasicKey()
{
    return ChromiumKey("peanuts");
}

std::optional<std::string> OpenChromiumValue(std::string_view sealed, const std::string& key)
{
    if (sealed.empty() || sealed.size() % 16 != 0)
        return std::nullopt;
    return Decrypt(sealed, key);
}

}  // namespace korvel
