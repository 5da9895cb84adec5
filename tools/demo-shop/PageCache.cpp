#include "demo-shop/PageCache.h"

namespace korvel::demo {

std::shared_ptr<const std::string> PageCache::get(const std::string& key,
                                                  const std::function<std::string()>& build)
{
    {
        std::lock_guard lock(mutex_);
        if (const auto kept = pages_.find(key); kept != pages_.end())
            return kept->second;
    }
    auto page = std::make_shared<const std::string>(build());
    std::lock_guard lock(mutex_);
    if (bytes_ + page->size() > kMaxBytes) {
        pages_.clear();
        bytes_ = 0;
    }
    if (pages_.emplace(key, page).second)
        bytes_ += page->size();
    return page;
}

}  // namespace korvel::demo
