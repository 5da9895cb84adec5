#include "Arguments.h"

#include "HistoryArguments.h"
#include "PacingOptions.h"

#include <set>

namespace korvel::console {
namespace {

// Applies one option that takes a value; an error text when the value is not one it takes.
std::string Apply(CollectCommand& command, const std::string& option, const std::string& value)
{
    if (option == "--cookies" || option == "--import-cookies") {
        (option == "--cookies" ? command.cookiesFile : command.importCookies) = value;
        return value.empty() ? option + " needs a value" : "";
    }
    if (IsHistoryOption(option))
        return ApplyHistoryOption(command, option, value);
    if (option == "--xlsx") {
        command.xlsxFile = value;
        // A workbook is a zip archive written with seeks: no pipe or terminal takes it.
        return value.empty() || value == "-"
                   ? "--xlsx needs a file name (a workbook cannot go to standard output)"
                   : "";
    }
    if (option == "--ids" || option == "--all" || option == "--csv") {
        auto& file = option == "--ids" ? command.idsFile : option == "--all" ? command.allFile : command.csvFile;
        file = value;
        return value.empty() ? option + " needs a file name" : "";
    }
    return ApplyPacingOption(option, value, command.delay, command.retries);
}

bool TakesValue(const std::string& option)
{
    return option == "--ids" || option == "--all" || option == "--csv" || option == "--xlsx" ||
           option == "--cookies" || option == "--import-cookies" || IsPacingOption(option) ||
           IsHistoryOption(option);
}

}  // namespace

// "--name=value" is "--name" "value"; after "--" every argument is the shop.
std::vector<std::string> Split(const std::vector<std::string>& args)
{
    std::vector<std::string> split;
    bool options = true;
    for (const std::string& arg : args) {
        const size_t equals = arg.find('=');
        if (options && arg == "--") {
            options = false;
            split.push_back(arg);
        } else if (options && arg.starts_with("--") && equals != std::string::npos) {
            split.push_back(arg.substr(0, equals));
            split.push_back(arg.substr(equals + 1));
        } else {
            split.push_back(arg);
        }
    }
    return split;
}

ParsedArguments ParseArguments(const std::vector<std::string>& given)
{
    const std::vector<std::string> args = Split(given);
    CollectCommand command;
    std::set<std::string> seen;
    bool haveShop = false;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = arg == "-h" ? "--help" : arg;
        if (options && name == "--") {
            options = false;
        } else if (options && name.starts_with("-") && !seen.insert(name).second) {
            return {std::nullopt, arg + " given twice"};
        } else if (options && (name == "--help" || name == "--version")) {
            (name == "--help" ? command.help : command.version) = true;
        } else if (options && name == "--no-store") {
            command.noStore = true;
        } else if (options && TakesValue(name)) {
            if (i + 1 >= args.size())
                return {std::nullopt, arg + " needs a value"};
            if (std::string error = Apply(command, name, args[++i]); !error.empty())
                return {std::nullopt, error};
        } else if (options && name.starts_with("-")) {
            return {std::nullopt, "unknown option " + arg};
        } else if (haveShop) {
            return {std::nullopt, "only one shop per run"};
        } else {
            command.shop = arg;
            haveShop = true;
        }
    }
    if (command.importCookies && (haveShop || command.cookiesFile || command.report != CollectCommand::Report::None))
        return {std::nullopt, "--import-cookies takes no shop, no --cookies and no report"};
    if (std::string error = CheckHistoryOptions(command, haveShop); !error.empty())
        return {std::nullopt, error};
    if (!haveShop && !command.help && !command.version && command.report == CollectCommand::Report::None &&
        !command.importCookies)
        return {std::nullopt, "no shop given"};
    return {command, ""};
}

const char Usage[] = R"(usage: korvel-collect [OPTIONS] SHOP
       korvel-collect --changes SHOP [--store FILE|URI] [--jsonl FILE|-] [--csv FILE] [--xlsx FILE]
       korvel-collect --runs SHOP [--store FILE|URI]
       korvel-collect --batch FILE|- [OPTIONS]   (every shop of a list; --batch - --help)
       korvel-collect --import-cookies SOURCE

Collects every product of a Taobao or Tmall shop (SHOP is its host, e.g. shop123.taobao.com) the
way Korvel's start button does, then writes the chosen exports. Progress and messages go to stderr:
one updating line on a terminal, the window's label texts line by line otherwise.

Options:
  --ids FILE     the product IDs, one per line (GBK text, CR LF), as the window's 商品ID导出
  --all FILE     every column of every product (GBK text; each cell followed by two full-width
                 spaces, each row by CR LF), as the window's 导出所有信息
  --csv FILE     every column as CSV: UTF-8 with a byte-order mark, a header row, RFC 4180 quoting
  --xlsx FILE    every column as an Excel workbook: the CSV's columns, prices and counts as numbers,
                 picture addresses as links, text never read as a formula (not to standard output)
  --delay MS     pause before each result page after the first, in milliseconds (default 0)
  --retries N    further tries of a page that failed in passing: a broken connection, a time-out,
                 HTTP 429 or 5xx (default 2, after about 1 s and then 3 s)
  --store FILE   the shop history to record the run in (created when missing); by default
                 $KORVEL_STORE, else $XDG_DATA_HOME/korvel/korvel.sqlite (~/.local/share/korvel/);
                 a postgresql:// URI names a PostgreSQL store, read by --changes and --runs alike
  --no-store     record nothing
  --changes SHOP what changed between the shop's latest run with products and the complete run
                 before it: a table on stdout, or --jsonl (one JSON object per change), --csv and
                 --xlsx (the same columns; in the workbook the percent shows as -12.50%)
  --runs SHOP    the shop's recorded runs, oldest first, one tab-separated line each: number,
                 start, end (UTC), outcome, pages collected/pages, lost pages, products
  --cookies FILE
                 carry the session in FILE (Netscape cookies.txt, as curl and browser extensions
                 write it) for this run: only its cookies of taobao.com and tmall.com are sent,
                 the file is never written and the kept session is neither read nor changed
  --import-cookies SOURCE
                 (no SHOP) add the marketplace's cookies from SOURCE to the kept session that
                 every run without --cookies carries: a cookies.txt FILE, firefox[:PROFILE],
                 chromium[:PROFILE] or chrome[:PROFILE] (PROFILE: a profile folder or its name;
                 the default profile when omitted); exit 0 when any was imported, else 1
  -h, --help     show this text and exit
  --version      show the version and exit
A FILE of "-" means standard output. An option may be given once, as "--name VALUE" or
"--name=VALUE"; "--" ends the options. Every export path is checked before the first request.

Exit status:
  0    collected, every page
  1    the run failed; its message and cause are on stderr ("登录状态已失效，请重新登录" when the
       marketplace asked a run with a session to sign in); or nothing was imported, and why
  2    bad arguments
  3    an export path cannot be written (nothing was requested), or an export failed
  4    collected, but pages were lost; the pages and the cause are on stderr
  130  interrupted (Ctrl+C); no export was written, existing files are untouched
A run that ends is recorded in the history; a history that cannot be written costs one line on
stderr and nothing else. --changes and --runs exit 0 with their report (also when there is nothing
to compare yet, said on stderr), 1 when the history cannot be read, 2 for bad arguments.

Each request connects within 15 s, gives up when less than 1 KB arrives in 20 s and takes at most
120 s in all.

The kept session is $XDG_DATA_HOME/korvel/cookies.txt (~/.local/share/korvel/cookies.txt), readable
by its owner alone; delete the file to forget it. Cookie values are never printed.
)";

}  // namespace korvel::console
