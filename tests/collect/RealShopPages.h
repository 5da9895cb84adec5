#pragma once

// Pages saved from the live shops by others live beside the repository, in
// ../shared/fixtures/real-shop-pages, not in it: a clone without that folder skips their tests,
// saying so in one line, and runs everything else.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/LocalServer.h"

namespace korvel::test {

class RealShopPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto folder = std::filesystem::path(FixturesDir() + "/real-shop-pages").lexically_normal();
        if (!std::filesystem::is_directory(folder))
            GTEST_SKIP() << "the real shop pages are missing: no folder " << folder.string();
    }
};

}  // namespace korvel::test
