#pragma once

// A batch's per-shop CSV files, DIR/HOST.csv: each written aside and renamed into place once the
// shop's run is recorded, so a file in place is always a whole run.

#include <string>
#include <vector>

#include "collect/CollectionRun.h"

namespace korvel::batch {

std::string ShopCsvPath(const std::string& folder, const std::string& host);

struct [[nodiscard]] PlacedFile {
    bool ok = true;
    std::string cause;  // why not, when not
    explicit operator bool() const { return ok; }
};

// Writes the run's CSV (the single-shop command's) to its place. The folder may be shared: the
// place is opened relative to the folder without following links, and only a regular file of the
// user's own is replaced; a link, another kind of file or another user's file is refused.
PlacedFile PlaceShopCsv(const std::string& folder, const CollectionRun& run);

// Removes the half-written copies (".HOST.csv.korvel-PID-N.tmp") a killed run left for the listed
// hosts; another live process's copies stay. Returns how many were removed.
int RemoveLeftovers(const std::string& folder, const std::vector<std::string>& hosts);

}  // namespace korvel::batch
