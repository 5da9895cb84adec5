#pragma once

// The JSON Lines output as a file that survives kills: every shop's lines are appended whole and
// flushed to disk before the shop counts as delivered, and reopening cuts off whatever follows the
// last whole shop, so across any number of kills each shop appears once. Standard output cannot
// be cut back: there a shop may appear again after a kill (at least once).

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace korvel::batch {

// A shop's run: its host and its number among the shop's runs.
using ShopRun = std::pair<std::string, std::int64_t>;

struct JsonLinesOpening;

class JsonLinesFile {
public:
    // "-" is standard output. `fresh` starts the file over. Only a regular file of the user's own,
    // reached without following a link, that is empty or that Korvel started is opened; anything
    // else is refused with its cause and left as it is.
    static JsonLinesOpening Open(const std::string& path, bool fresh);

    JsonLinesFile(JsonLinesFile&& other) noexcept;
    JsonLinesFile& operator=(JsonLinesFile&&) = delete;
    ~JsonLinesFile();

    // The runs whose shop line the file already holds (after the cut).
    const std::set<ShopRun>& runsPresent() const { return runs_; }

    // Writes one shop's lines whole; false when they could not all reach the file.
    [[nodiscard]] bool append(std::string_view lines, const ShopRun& run);

private:
    JsonLinesFile(int fd, bool owned) : fd_(fd), owned_(owned) {}
    bool cutToLastShop();
    bool cutBack();

    int fd_ = -1;
    bool owned_ = false;
    std::uint64_t end_ = 0;  // past the last whole shop
    std::set<ShopRun> runs_;
};

struct [[nodiscard]] JsonLinesOpening {
    std::optional<JsonLinesFile> file;
    std::string cause;  // why not, when there is no file
};

// Whether a file that begins with `start` (its first line, or all of it) is a JSON Lines file of
// Korvel's: an empty one, or one whose first line is a product or shop line, whole or cut short.
bool StartedByKorvel(std::string_view start);

// The offset just past the last whole shop line of `text` (0 when there is none), and the runs of
// the shop lines before it. Exposed for the tests: a file is read through it in pieces.
struct LastShop {
    std::uint64_t end = 0;
    std::set<ShopRun> runs;
};
void ScanLines(std::string_view text, std::uint64_t offset, LastShop& found);

}  // namespace korvel::batch
