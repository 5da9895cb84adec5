#pragma once

// Why the history could not be opened, read or written, as the user is told it.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace korvel {

enum class StoreFailure {
    CannotOpen,    // no such folder, no permission to open
    ReadOnly,      // the file or its folder cannot be written
    Full,          // the disk or the file system's quota is full
    Locked,        // another program held the file past the busy timeout
    Corrupt,       // damaged or truncated
    NotAStore,     // an SQLite file of another program, or no database at all
    NewerVersion,  // written by a later Korvel: read by none of this one's code, left as it is
    InputOutput,   // any other read or write error
};

struct StoreError {
    StoreFailure kind = StoreFailure::CannotOpen;
    std::string cause;  // GBK: what happened, then SQLite's own words in brackets
};

// The value, or why there is none.
template <typename T>
class [[nodiscard]] StoreResult {
public:
    StoreResult(T value) : state_(std::move(value)) {}
    StoreResult(StoreError error) : state_(std::move(error)) {}
    bool ok() const { return std::holds_alternative<T>(state_); }
    const T& value() const { return std::get<T>(state_); }
    T& value() { return std::get<T>(state_); }
    const StoreError& error() const { return std::get<StoreError>(state_); }

private:
    std::variant<T, StoreError> state_;
};

struct Done {};

// The one line that says a collection was kept but its history was not: "历史记录未保存：" + cause.
std::string HistoryNotSavedLine(const StoreError& error);

}  // namespace korvel
