#pragma once

// The demo shop's sign-in: with DemoShopOptions::requireSignIn its shop pages send a visitor
// without the session cookie to the marketplace's sign-in host, which the shop plays as well
// (route login.taobao.com and login.tmall.com to it). The form accepts any name; signing in sets
// the cookie for taobao.com, then, through a jump over login.tmall.com, for tmall.com, and goes
// back to the page the visitor came from. The cookie has no expiry, as the marketplace's own.
//
//   GET  https://login.taobao.com/member/login.jhtml?redirectURL=…  -> the form
//   POST https://login.taobao.com/member/login.jhtml                -> cookie, on to the jump
//   GET  https://login.tmall.com/jump?redirectURL=…                 -> cookie, back to redirectURL

#include <optional>
#include <string>

#include "demo-shop/DemoShop.h"
#include "support/FaultServer.h"

namespace korvel::demo {

inline constexpr char SignInHost[] = "login.taobao.com";
inline constexpr char SignInJumpHost[] = "login.tmall.com";
inline constexpr char SessionCookieName[] = "cookie2";
inline constexpr char SessionCookieValue[] = "korvel-demo-signed-in";

bool IsSignInHost(const std::string& host);

// The sign-in host's answer to any request.
tools::FaultReply AnswerSignIn(const RecordedRequest& request);

// A shop request that must sign in first: the redirect to the sign-in form.
std::optional<tools::FaultReply> SignInRequired(const DemoShopOptions& options, const RecordedRequest& request);

}  // namespace korvel::demo
