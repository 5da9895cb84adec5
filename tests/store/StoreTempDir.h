#pragma once

// A private folder per test for its store files, removed afterwards.

#include <filesystem>
#include <string>

#include "support/ThrowawayTls.h"

namespace korvel::test {

class StoreTempDir {
public:
    StoreTempDir() : path(tools::MakeTempDir("korvel-store")) {}
    ~StoreTempDir() { std::filesystem::remove_all(path); }
    StoreTempDir(const StoreTempDir&) = delete;
    StoreTempDir& operator=(const StoreTempDir&) = delete;
    std::string file(const std::string& name = "korvel.sqlite") const { return path + "/" + name; }

    std::string path;
};

}  // namespace korvel::test
