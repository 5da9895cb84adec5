#include "alerts/FlatJson.h"

#include <charconv>

#include "text/Utf8.h"

namespace korvel::alerts {
namespace {

// Answers are small; deeper nesting than this is no answer of a robot.
constexpr int MaxDepth = 32;

class Reader {
public:
    explicit Reader(std::string_view json) : json_(json) {}

    bool object(FlatJson* members, int depth)
    {
        if (depth > MaxDepth || !take('{'))
            return false;
        if (take('}'))
            return true;
        do {
            std::string name;
            JsonScalar value;
            if (!string(name) || !take(':') || !valueInto(value, depth))
                return false;
            if (members)
                (*members)[name] = std::move(value);
        } while (take(','));
        return take('}');
    }

    bool finished()
    {
        space();
        return at_ == json_.size();
    }

private:
    void space()
    {
        while (at_ < json_.size() && (json_[at_] == ' ' || json_[at_] == '\t' || json_[at_] == '\n' || json_[at_] == '\r'))
            ++at_;
    }

    bool take(char c)
    {
        space();
        if (at_ < json_.size() && json_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool array(int depth)
    {
        if (depth > MaxDepth || !take('['))
            return false;
        if (take(']'))
            return true;
        JsonScalar ignored;
        do {
            if (!valueInto(ignored, depth))
                return false;
        } while (take(','));
        return take(']');
    }

    bool valueInto(JsonScalar& value, int depth)
    {
        space();
        if (at_ >= json_.size())
            return false;
        const char c = json_[at_];
        if (c == '"') {
            value.type = JsonScalar::Type::String;
            return string(value.text);
        }
        value.type = JsonScalar::Type::Nested;
        if (c == '{')
            return object(nullptr, depth + 1);
        if (c == '[')
            return array(depth + 1);
        for (const auto& [word, type] : {std::pair{"true", JsonScalar::Type::Boolean},
                                         {"false", JsonScalar::Type::Boolean}, {"null", JsonScalar::Type::Null}}) {
            if (json_.substr(at_).starts_with(word)) {
                value = {type, word};
                at_ += value.text.size();
                return true;
            }
        }
        return number(value);
    }

    bool number(JsonScalar& value)
    {
        const std::size_t start = at_;
        if (at_ < json_.size() && json_[at_] == '-')
            ++at_;
        const std::size_t digits = at_;
        while (at_ < json_.size() && std::string_view("0123456789.eE+-").find(json_[at_]) != std::string_view::npos)
            ++at_;
        value = {JsonScalar::Type::Number, std::string(json_.substr(start, at_ - start))};
        double parsed = 0;
        const auto [end, error] = std::from_chars(json_.data() + digits, json_.data() + at_, parsed);
        return at_ > digits && error == std::errc() && end == json_.data() + at_;
    }

    bool hex4(char32_t& code)
    {
        if (at_ + 4 > json_.size())
            return false;
        unsigned value = 0;
        const auto [end, error] = std::from_chars(json_.data() + at_, json_.data() + at_ + 4, value, 16);
        if (error != std::errc() || end != json_.data() + at_ + 4)
            return false;
        at_ += 4;
        code = value;
        return true;
    }

    // \uD83D\uDE00 pairs join; a lone surrogate becomes U+FFFD.
    bool unicodeEscape(std::string& out)
    {
        char32_t code = 0;
        if (!hex4(code))
            return false;
        if (code >= 0xD800 && code <= 0xDBFF && json_.substr(at_).starts_with("\\u")) {
            at_ += 2;
            char32_t low = 0;
            if (!hex4(low))
                return false;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
                return true;
            }
            AppendUtf8(out, 0xFFFD);
            code = low;
        }
        AppendUtf8(out, code >= 0xD800 && code <= 0xDFFF ? 0xFFFD : code);
        return true;
    }

    bool string(std::string& out)
    {
        if (!take('"'))
            return false;
        while (at_ < json_.size()) {
            const char c = json_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= json_.size())
                return false;
            const char escape = json_[at_++];
            static constexpr std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
            if (const std::size_t i = from.find(escape); i != std::string_view::npos)
                out += to[i];
            else if (escape != 'u' || !unicodeEscape(out))
                return false;
        }
        return false;
    }

    std::string_view json_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<FlatJson> ReadFlatJson(std::string_view json)
{
    FlatJson members;
    Reader reader(json);
    if (!reader.object(&members, 0) || !reader.finished())
        return std::nullopt;
    return members;
}

std::optional<long long> IntegerMember(const FlatJson& json, std::string_view name)
{
    const auto found = json.find(name);
    if (found == json.end() || (found->second.type != JsonScalar::Type::Number &&
                                found->second.type != JsonScalar::Type::String))
        return std::nullopt;
    const std::string& text = found->second.text;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace korvel::alerts
