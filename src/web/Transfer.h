#pragma once

// Drives one prepared transfer to its end on the handle's own multi handle, so that another
// thread can end it at once, and tells how it ended.

#include <curl/curl.h>

#include "base/Cancellation.h"
#include "web/HttpOutcome.h"
#include "web/HttpSettings.h"
#include "web/TransferNotes.h"

namespace korvel {

// Runs the transfer set up on `easy`; with a cancellation, cancel() ends it at once with
// CURLE_ABORTED_BY_CALLBACK.
CURLcode RunTransfer(CURL* easy, CURLM* multi, Cancellation* cancel);

HttpOutcome ReadOutcome(CURL* easy, CURLcode code, const char* errorText, const TransferNotes& notes);

}  // namespace korvel
