#include "session/BrowserProfiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace korvel {
namespace {

namespace fs = std::filesystem;

using IniSection = std::map<std::string, std::string>;
using Ini = std::vector<std::pair<std::string, IniSection>>;  // sections in file order

Ini ReadIni(const std::string& path)
{
    Ini ini;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('[') && line.ends_with(']'))
            ini.emplace_back(line.substr(1, line.size() - 2), IniSection());
        else if (const size_t equals = line.find('='); equals != std::string::npos && !ini.empty())
            ini.back().second[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return ini;
}

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string Resolve(const std::string& base, const IniSection& section)
{
    const auto path = section.find("Path");
    if (path == section.end())
        return {};
    const auto relative = section.find("IsRelative");
    return relative != section.end() && relative->second == "0" ? path->second : base + "/" + path->second;
}

// installs.ini's Default (the profile each installation uses), else profiles.ini's own choice.
std::string FirefoxDefault(const std::string& base)
{
    for (const auto& [name, section] : ReadIni(base + "/installs.ini")) {
        if (const auto d = section.find("Default"); d != section.end())
            return base + "/" + d->second;
    }
    const Ini profiles = ReadIni(base + "/profiles.ini");
    for (const auto& [name, section] : profiles) {
        if (const auto d = section.find("Default"); name.starts_with("Install") && d != section.end())
            return base + "/" + d->second;
    }
    for (const auto& [name, section] : profiles) {
        if (const auto d = section.find("Default"); name.starts_with("Profile") && d != section.end() && d->second == "1")
            return Resolve(base, section);
    }
    return {};
}

std::string FirefoxNamed(const std::string& base, const std::string& profile)
{
    for (const auto& [name, section] : ReadIni(base + "/profiles.ini")) {
        if (const auto n = section.find("Name"); name.starts_with("Profile") && n != section.end() && n->second == profile)
            return Resolve(base, section);
    }
    return base + "/" + profile;
}

}  // namespace

ProfileFolder FirefoxProfile(const std::string& profile)
{
    if (profile.find('/') != std::string::npos)
        return {IsFolder(profile) ? profile : std::string(), profile};
    const std::string base = Home() + "/.mozilla/firefox";
    const std::string folder = profile.empty() ? FirefoxDefault(base) : FirefoxNamed(base, profile);
    return {IsFolder(folder) ? folder : std::string(), folder.empty() ? base : folder};
}

ProfileFolder ChromiumProfile(Browser browser, const std::string& profile)
{
    if (profile.find('/') != std::string::npos)
        return {IsFolder(profile) ? profile : std::string(), profile};
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string base = (config != nullptr && config[0] == '/' ? std::string(config) : Home() + "/.config") +
                             (browser == Browser::Chrome ? "/google-chrome/" : "/chromium/");
    const std::string folder = base + (profile.empty() ? "Default" : profile);
    return {IsFolder(folder) ? folder : std::string(), folder};
}

}  // namespace korvel
