#include "web/HttpSettings.h"

#include <mutex>

#include "base/Overrides.h"

namespace korvel {
namespace {

struct Overrides {
    std::mutex mutex;
    std::optional<std::string> connectTo;
    std::optional<std::string> extraCaFile;
    HttpSettings rest;
};

Overrides& TheOverrides()
{
    static Overrides overrides;
    return overrides;
}

}  // namespace

void SetConnectTo(std::optional<std::string> entries)
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.connectTo = std::move(entries);
}

void SetExtraCaFile(std::optional<std::string> pemPath)
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.extraCaFile = std::move(pemPath);
}

void SetTimeouts(std::chrono::seconds connect, std::chrono::seconds idle, std::chrono::seconds total)
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.rest.connectTimeout = connect;
    o.rest.idleTimeout = idle;
    o.rest.totalTimeout = total;
}

void SetConnectionReuse(bool allowed)
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.rest.connectionReuse = allowed;
}

void SetMaxBodyBytes(std::size_t bytes)
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.rest.maxBodyBytes = bytes;
}

void ResetHttpSettings()
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.connectTo.reset();
    o.extraCaFile.reset();
    o.rest = HttpSettings();
}

HttpSettings CurrentHttpSettings()
{
    auto& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    HttpSettings settings = o.rest;
    // The environment is read at every request rather than once, so a test or demo that exports
    // the variables after an earlier request still gets routed.
    settings.connectTo = o.connectTo ? *o.connectTo : overrides::ConnectTo();
    settings.extraCaFile = o.extraCaFile ? *o.extraCaFile : overrides::CaFile();
    return settings;
}

}  // namespace korvel
