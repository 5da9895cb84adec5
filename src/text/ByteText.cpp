// Moving between counted byte buffers (bodies, file contents) and zero-free texts.

#include "text/Text.h"

namespace korvel {

std::string BytesToText(std::string_view bytes)
{
    return std::string(bytes.substr(0, bytes.find('\0')));
}

Bytes TextToBytes(std::string_view text)
{
    return Bytes(text);
}

}  // namespace korvel
