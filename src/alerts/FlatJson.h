#pragma once

// The top level of a JSON object, as much as a robot's answer needs: its members whose values are
// strings, numbers, booleans or null. Nested objects and arrays are stepped over.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::alerts {

struct JsonScalar {
    enum class Type { String, Number, Boolean, Null, Nested } type = Type::Null;
    std::string text;  // a string's value (UTF-8, escapes undone); a number or literal as written
};

using FlatJson = std::map<std::string, JsonScalar, std::less<>>;

// Nothing when `json` is not one well-formed object (whitespace around it allowed).
std::optional<FlatJson> ReadFlatJson(std::string_view json);

// The member as a whole number: a Number without fraction or exponent, or a String of digits
// (some servers quote their codes).
std::optional<long long> IntegerMember(const FlatJson& json, std::string_view name);

}  // namespace korvel::alerts
