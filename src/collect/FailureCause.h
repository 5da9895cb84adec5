#pragma once

// Why a page was lost, in the words the user reads: from what libcurl and the response said,
// never guessed. GBK.

#include <string>

#include "collect/PageFetch.h"

namespace korvel {

// The cause of a failed page, a login or slider check, or an empty page; empty when the page
// arrived and there is nothing to say about it.
std::string CauseText(const FetchedPage& page);

// Page 1 arrived whole but holds no paging: its status and size, so the user sees it was answered.
std::string NoPagingCause(const FetchedPage& page);

// The cause followed by the retries it took, when there were any.
std::string CauseWithRetries(const FetchedPage& page);

}  // namespace korvel
