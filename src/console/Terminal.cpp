#include "Terminal.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>

#include "text/Text.h"
#include "text/Encoding.h"

namespace korvel::console {

namespace {

bool LocaleIsGbk()
{
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "GBK") == 0 || std::strcmp(codeset, "GB18030") == 0 ||
           std::strcmp(codeset, "GB2312") == 0;
}

}  // namespace

Terminal::Terminal(std::FILE* out)
    : out_(out), interactive_(::isatty(::fileno(out)) == 1), gbkLocale_(LocaleIsGbk())
{
}

Terminal::~Terminal()
{
    endProgress();
}

std::string Terminal::shown(const std::string& gbk) const
{
    return gbkLocale_ ? gbk : BytesToText(GbkToUtf8(gbk));
}

void Terminal::endProgress()
{
    if (progressOpen_)
        std::fputc('\n', out_);
    progressOpen_ = false;
}

void Terminal::line(const std::string& gbk)
{
    endProgress();
    std::fprintf(out_, "%s\n", shown(gbk).c_str());
    std::fflush(out_);
}

void Terminal::progress(const std::string& gbk)
{
    if (!interactive_) {
        line(gbk);
        return;
    }
    std::fprintf(out_, "\r\x1b[K%s", shown(gbk).c_str());
    std::fflush(out_);
    progressOpen_ = true;
}

}  // namespace korvel::console
