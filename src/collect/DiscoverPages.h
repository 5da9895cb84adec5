#pragma once

// Page discovery: the shop's family, its number of result pages and page 1's item area.

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "collect/CollectionRun.h"
#include "collect/PageFetch.h"
#include "collect/ShopAddress.h"

namespace korvel {

// The four markers of the settings page, read anew at every use.
struct CollectionSettings {
    std::string itemAreaStart;    // 编辑框2
    std::string itemAreaEnd;      // 编辑框3
    std::string tmallQueryStart;  // 编辑框7
    std::string tmallQueryEnd;    // 编辑框8
};

// What the settings fields hold at start.
CollectionSettings DefaultCollectionSettings();

struct ShopPages {
    ShopFamily family = ShopFamily::Taobao;
    int pageCount = 1;  // at least 1
    std::string pageText;
    std::string itemArea;
    std::string tmallQuery;  // Tmall only; may be empty
    FetchedPage firstFetch;  // how page 1's request ended (its text is pageText)
};

// Ends a run before its first product, with the cause when one is known (GBK).
struct CollectionFailure {
    RunFailure failure = RunFailure::None;
    std::string cause;
};

// The run was cut short because its screen is closing; nothing more is shown.
struct Abandoned {};

// Fetches one page for the run; nothing once the run is abandoned.
using PageSource = std::function<std::optional<FetchedPage>(const PageRequest&)>;

// The message followed by the cause on a line of its own, when there is one.
std::string WithCause(const std::string& message, const std::string& cause);

// The item area of any result page: Taobao's comes from the settings' markers, Tmall's fixed ones.
std::string ItemAreaOf(ShopFamily family, const std::string& pageText, const std::string& itemAreaStart,
                       const std::string& itemAreaEnd);

// Classifies the address, requests result page 1 (a Tmall shop's search page first) and reads the
// page count, which it hands to pageCountRead as read, before anything else is decided.
// A page 1 without paging fails the run with the cause of its loss, when it has one.
std::variant<ShopPages, CollectionFailure, Abandoned> DiscoverPages(
    const std::string& address, const CollectionSettings& settings,
    const std::function<void(int)>& pageCountRead, const PageSource& fetch);

}  // namespace korvel
