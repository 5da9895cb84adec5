#include "session/SignInCertificate.h"

#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <memory>

namespace korvel {
namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Certificate = std::unique_ptr<X509, Freer<X509, X509_free>>;
using Store = std::unique_ptr<X509_STORE, Freer<X509_STORE, X509_STORE_free>>;
using Context = std::unique_ptr<X509_STORE_CTX, Freer<X509_STORE_CTX, X509_STORE_CTX_free>>;

void FreeStack(STACK_OF(X509) * stack)
{
    sk_X509_pop_free(stack, X509_free);
}
using Stack = std::unique_ptr<STACK_OF(X509), Freer<STACK_OF(X509), FreeStack>>;

// Every certificate of a PEM text, in order.
std::vector<Certificate> ReadPem(std::string_view pem)
{
    std::vector<Certificate> certificates;
    BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    if (bio == nullptr)
        return certificates;
    while (X509* certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr))
        certificates.emplace_back(certificate);
    BIO_free(bio);
    return certificates;
}

ChainVerdict VerdictOf(int error)
{
    switch (error) {
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return ChainVerdict::Expired;
        case X509_V_ERR_HOSTNAME_MISMATCH:
            return ChainVerdict::WrongHost;
        default:
            return ChainVerdict::Untrusted;
    }
}

}  // namespace

ChainVerdict VerifyChain(const std::vector<std::string>& chain, std::string_view caPem, const std::string& host,
                         std::int64_t unixTime)
{
    const std::vector<Certificate> cas = ReadPem(caPem);
    std::vector<Certificate> presented;
    for (const std::string& pem : chain) {
        for (Certificate& certificate : ReadPem(pem))
            presented.push_back(std::move(certificate));
    }
    if (cas.empty() || presented.empty() || host.empty())
        return ChainVerdict::Unreadable;
    const Store store(X509_STORE_new());
    const Stack untrusted(sk_X509_new_null());
    const Context context(X509_STORE_CTX_new());
    if (!store || !untrusted || !context)
        return ChainVerdict::Unreadable;
    for (const Certificate& ca : cas)
        X509_STORE_add_cert(store.get(), ca.get());
    for (size_t i = 1; i < presented.size(); ++i) {
        X509_up_ref(presented[i].get());
        sk_X509_push(untrusted.get(), presented[i].get());
    }
    if (X509_STORE_CTX_init(context.get(), store.get(), presented.front().get(), untrusted.get()) != 1)
        return ChainVerdict::Unreadable;
    X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(context.get());
    X509_VERIFY_PARAM_set_purpose(param, X509_PURPOSE_SSL_SERVER);
    X509_VERIFY_PARAM_set_time(param, static_cast<time_t>(unixTime));
    X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    if (X509_VERIFY_PARAM_set1_host(param, host.c_str(), host.size()) != 1)
        return ChainVerdict::Unreadable;
    if (X509_verify_cert(context.get()) == 1)
        return ChainVerdict::Trusted;
    return VerdictOf(X509_STORE_CTX_get_error(context.get()));
}

}  // namespace korvel
