#pragma once

// Why an upload's request got no answer, in the words of a lost shop page (the "证书…" causes
// included), so the member page's boxes name the same causes as the collection's. GBK.

#include <string>

#include "web/HttpOutcome.h"

namespace korvel {

std::string UploadCause(const HttpOutcome& outcome);

}  // namespace korvel
