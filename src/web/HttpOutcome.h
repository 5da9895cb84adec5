#pragma once

// How one request ended, as far as the client could tell: what failed, the final HTTP status and
// libcurl's own words, so that whoever reports a failure names its cause instead of guessing.

#include <string>

namespace korvel {

enum class HttpFailure {
    None,               // a response arrived whole (its status may still be an error)
    Cancelled,          // ended through its Cancellation
    BadAddress,         // the client refused the address itself (a space in the host, …)
    UnknownHost,        // the host name could not be resolved
    ConnectionRefused,  // nothing listens at the address
    ConnectFailed,      // no connection for another reason (unreachable network, …)
    ConnectTimeout,     // no connection (TLS handshake included) within the connect limit
    IdleTimeout,        // too little arrived within the idle window
    TotalTimeout,       // the request as a whole ran past its limit
    Certificate,        // the server's certificate was refused; see CertificateProblem
    TlsFailed,          // the TLS handshake failed for another reason
    ConnectionReset,    // the connection broke while sending or receiving
    IncompleteBody,     // the connection closed before the promised body had arrived
    NoReply,            // the server closed the connection without answering
    TooManyRedirects,   // more than MaxRedirects hops
    BodyTooLarge,      // the body passed the size limit and was abandoned
    RedirectRefused,   // a redirect went where the caller does not follow (see refusedLocation)
    NotResent,         // a request that must not go out twice would have had to be resent
    Other,
};

// The hops one request follows, the client's own and the "301 Moved" repeats alike.
inline constexpr int MaxRedirects = 20;

enum class CertificateProblem { None, Expired, NotYetValid, WrongName, Untrusted, Other };

struct [[nodiscard]] HttpOutcome {
    HttpFailure failure = HttpFailure::None;
    int status = 0;  // the final response's status code; 0 when none arrived
    CertificateProblem certificate = CertificateProblem::None;
    std::string refusedLocation;  // the Location a refused redirect pointed to
    std::string retryAfter;       // the final response's Retry-After, as sent (empty when none)
    std::string detail;           // libcurl's error text
};

}  // namespace korvel
