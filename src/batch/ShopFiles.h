#pragma once

// A batch's per-shop CSV files, DIR/HOST.csv: each written aside and renamed into place once the
// shop's run is recorded, so a file in place is always a whole run.

#include <string>
#include <vector>

#include "collect/CollectionRun.h"

namespace korvel::batch {

std::string ShopCsvPath(const std::string& folder, const std::string& host);

// Writes the run's CSV (the single-shop command's) to its place; false when it could not.
[[nodiscard]] bool PlaceShopCsv(const std::string& folder, const CollectionRun& run);

// Removes the half-written copies (".HOST.csv.korvel-PID-N.tmp") a killed run left for the listed
// hosts; another live process's copies stay. Returns how many were removed.
int RemoveLeftovers(const std::string& folder, const std::vector<std::string>& hosts);

}  // namespace korvel::batch
