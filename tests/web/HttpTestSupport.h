#pragma once

// Shared pieces of the tests of Send: routes for shop-like host names, settings put back after
// each test, and the recorded requests' parts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LocalServer.h"
#include "support/RawHttpServer.h"
#include "web/HttpCall.h"
#include "web/HttpSettings.h"

namespace korvel::test {

// Every test starts from the defaults, with the throwaway CA trusted, and leaves them so.
class HttpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetHttpSettings();
        SetExtraCaFile(TestTls().caCert);
    }
    void TearDown() override
    {
        CloseIdleConnections();
        ResetHttpSettings();
    }

    static void Route(const std::vector<std::string>& entries)
    {
        std::string joined;
        for (const std::string& entry : entries)
            joined += (joined.empty() ? "" : ",") + entry;
        SetConnectTo(joined);
    }
};

// The body a plain GET brings back.
inline Bytes GetBody(const std::string& url)
{
    return Send({.url = url}).body;
}

inline std::string Ok(const std::string& body, const std::string& headerLines = "")
{
    return RawHttpServer::Response("HTTP/1.1 200 OK", headerLines, body);
}

// The header lines of a recorded request after its request line, one per element.
inline std::vector<std::string> HeaderLinesOf(const std::string& request)
{
    std::vector<std::string> lines;
    const std::string head = RequestHead(request);
    size_t at = head.find("\r\n");
    while (at != std::string::npos) {
        const size_t next = head.find("\r\n", at + 2);
        lines.push_back(head.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2));
        at = next;
    }
    return lines;
}

inline std::string RequestLine(const std::string& request)
{
    return request.substr(0, request.find("\r\n"));
}

}  // namespace korvel::test
