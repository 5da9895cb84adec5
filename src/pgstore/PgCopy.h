#pragma once

// Rows in COPY's binary format: no escaping on our side, no parsing of text on the server's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::pg {

class BinaryRows {
public:
    BinaryRows() { bytes_.append("PGCOPY\n\xFF\r\n\0", 11).append(8, '\0'); }
    void row(std::int16_t fields) { big(static_cast<std::uint16_t>(fields)); }
    void int8(std::int64_t value)
    {
        field(8);
        big(static_cast<std::uint64_t>(value));
    }
    void int8(std::optional<std::int64_t> value) { value ? int8(*value) : field(-1); }
    void int4(std::int32_t value)
    {
        field(4);
        big(static_cast<std::uint32_t>(value));
    }
    void bytea(std::string_view value)
    {
        field(static_cast<std::int32_t>(value.size()));
        bytes_.append(value);
    }
    bool empty() const { return bytes_.size() == 19; }
    std::string finish()
    {
        big(std::uint16_t(0xFFFF));
        return std::move(bytes_);
    }

private:
    void field(std::int32_t length) { big(static_cast<std::uint32_t>(length)); }
    template <typename Unsigned>
    void big(Unsigned value)
    {
        for (int shift = 8 * (sizeof(Unsigned) - 1); shift >= 0; shift -= 8)
            bytes_ += static_cast<char>((value >> shift) & 0xFF);
    }
    std::string bytes_;
};

}  // namespace korvel::pg
