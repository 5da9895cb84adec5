#include "support/ThrowawayTls.h"

#include <cstdlib>
#include <fstream>
#include <vector>

namespace korvel::tools {
namespace {

std::string Quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool Run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string SubjectAltNames(const std::vector<std::string>& hostNames)
{
    std::string out;
    for (const auto& name : hostNames) {
        if (!out.empty())
            out += ",";
        const bool isAddress = !name.empty() && name.find_first_not_of("0123456789.") == std::string::npos;
        out += (isAddress ? "IP:" : "DNS:") + name;
    }
    return out;
}

}  // namespace

std::optional<TlsFiles> MakeThrowawayTls(const std::string& dir, const std::vector<std::string>& hostNames)
{
    TlsFiles f{dir, dir + "/ca.pem", dir + "/server.pem", dir + "/server.key"};
    const std::string caKey = dir + "/ca.key", csr = dir + "/server.csr", ext = dir + "/server.ext";
    {
        std::ofstream out(ext);
        out << "subjectAltName=" << SubjectAltNames(hostNames) << "\n"
            << "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
            << "extendedKeyUsage=serverAuth\n";
        if (!out)
            return std::nullopt;
    }
    const std::string ec = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    const bool ok =
        Run("openssl req -x509 " + ec + " -days 30 -subj '/CN=Korvel throwaway CA' -keyout " + Quote(caKey) +
            " -out " + Quote(f.caCert)) &&
        Run("openssl req " + ec + " -subj '/CN=" + (hostNames.empty() ? "localhost" : hostNames.front()) +
            "' -keyout " + Quote(f.serverKey) + " -out " + Quote(csr)) &&
        Run("openssl x509 -req -days 30 -in " + Quote(csr) + " -CA " + Quote(f.caCert) + " -CAkey " +
            Quote(caKey) + " -CAcreateserial -extfile " + Quote(ext) + " -out " + Quote(f.serverCert));
    if (!ok)
        return std::nullopt;
    return f;
}

std::string MakeTempDir(const std::string& prefix)
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    return mkdtemp(buf.data()) ? std::string(buf.data()) : std::string();
}

}  // namespace korvel::tools
