#pragma once

// Built pages kept for the next request that asks for the same one: a page of 2000 entries takes
// about 20 ms to build, far longer than the collector needs to read it, and benchmarks ask for the
// same pages again and again.

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace korvel::demo {

class PageCache {
public:
    // The page kept under `key`, built by `build` when there is none. Two requests for a page not
    // yet kept may both build it; the pages are equal, so either may stay. One cache serves one
    // set of options: new options get a new cache.
    std::shared_ptr<const std::string> get(const std::string& key, const std::function<std::string()>& build);

private:
    static constexpr std::size_t kMaxBytes = 256u << 20;
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const std::string>> pages_;
    std::size_t bytes_ = 0;
};

}  // namespace korvel::demo
