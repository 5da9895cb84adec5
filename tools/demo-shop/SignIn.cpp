#include "demo-shop/SignIn.h"

#include <cctype>

#include "demo-shop/ShopRequest.h"

namespace korvel::demo {
namespace {

using tools::FaultReply;

std::string Escaped(const std::string& text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string CookieFor(const std::string& domain)
{
    return std::string("Set-Cookie: ") + SessionCookieName + "=" + SessionCookieValue + "; Domain=" + domain +
           "; Path=/; Secure; HttpOnly\r\n";
}

FaultReply RedirectWith(const std::string& location, const std::string& headerLines)
{
    return FaultReply::Raw(FaultReply::Act::Answer, "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\n" +
                                                        headerLines + "Content-Length: 0\r\n\r\n");
}

// Form fields and query values alike.
std::string FieldOf(const std::string& form, const std::string& name)
{
    RecordedRequest asQuery;
    asQuery.target = "/?" + form;
    return QueryValue(asQuery, name);
}

FaultReply Form(const std::string& back)
{
    const std::string page =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Sign in</title></head><body>\n"
        "<form id=\"J_Form\" method=\"post\" action=\"/member/login.jhtml\">\n"
        "<input type=\"hidden\" name=\"redirectURL\" value=\"" + back + "\">\n"
        "<input type=\"text\" id=\"TPL_username\" name=\"TPL_username\" value=\"demo\">\n"
        "<input type=\"password\" id=\"TPL_password\" name=\"TPL_password\" value=\"demo\">\n"
        "<button type=\"submit\" id=\"J_SubmitStatic\">Sign in</button>\n</form>\n</body></html>\n";
    return FaultReply::Respond(200, page, "Content-Type: text/html;charset=utf-8\r\n");
}

std::string Back(const std::string& redirect)
{
    return redirect.starts_with("https://") ? redirect : "https://www.taobao.com/";
}

}  // namespace

bool IsSignInHost(const std::string& host)
{
    return host == SignInHost || host == SignInJumpHost;
}

FaultReply AnswerSignIn(const RecordedRequest& request)
{
    const std::string redirect = QueryValue(request, "redirectURL");
    if (HostOf(request) == SignInJumpHost)
        return RedirectWith(Back(redirect), CookieFor(".tmall.com"));
    if (request.method == "POST") {
        const std::string back = Back(FieldOf(request.body, "redirectURL"));
        return RedirectWith("https://" + std::string(SignInJumpHost) + "/jump?redirectURL=" + Escaped(back),
                            CookieFor(".taobao.com"));
    }
    return Form(redirect);
}

std::optional<FaultReply> SignInRequired(const DemoShopOptions& options, const RecordedRequest& request)
{
    if (!options.requireSignIn)
        return std::nullopt;
    const std::string wanted = std::string(SessionCookieName) + "=" + SessionCookieValue;
    for (auto [at, end] = request.headers.equal_range("Cookie"); at != end; ++at) {
        if (("; " + at->second + ";").find(" " + wanted + ";") != std::string::npos)
            return std::nullopt;
    }
    const std::string back = "https://" + HostOf(request) + "/search.htm";
    return FaultReply::Redirect(
        302, "https://" + std::string(SignInHost) + "/member/login.jhtml?redirectURL=" + Escaped(back));
}

}  // namespace korvel::demo
