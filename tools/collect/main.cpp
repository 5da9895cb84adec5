// korvel-collect SHOP [--ids FILE] [--all FILE]
//
// Collects one shop exactly as the window's start button does, then writes the chosen exports.
// Progress and messages go to stderr. Exit status: 0 collected (and exported), 1 the run failed,
// 2 bad arguments, 3 an export could not be written.

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

#include "ConsoleScreen.h"
#include "Terminal.h"
#include "collect/RunCollection.h"
#include "export/Exports.h"

namespace {

using namespace korvel;

struct Arguments {
    std::string shop;
    std::optional<std::string> idsFile;
    std::optional<std::string> allFile;
};

std::optional<Arguments> Parse(int argc, char** argv)
{
    Arguments args;
    bool haveShop = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--ids" || arg == "--all") && i + 1 < argc) {
            (arg == "--ids" ? args.idsFile : args.allFile) = argv[++i];
        } else if (!haveShop && !arg.starts_with("--")) {
            args.shop = arg;
            haveShop = true;
        } else {
            return std::nullopt;
        }
    }
    return haveShop ? std::optional(args) : std::nullopt;
}

// The dialog a script answers in advance: always confirmed, always the given path, used as given.
class FixedPathDialog : public SaveDialog {
public:
    explicit FixedPathDialog(std::string path) : path_(std::move(path)) {}
    void setFilter(const std::string&) override {}
    void setDefaultExtension(const std::string&) override {}
    bool show() override { return true; }
    std::string fileName() const override { return path_; }

private:
    std::string path_;
};

bool Export(bool (*exporter)(const ListView&, SaveDialog&, MessageBox&), const std::string& path,
            console::ConsoleScreen& screen)
{
    FixedPathDialog dialog(path);
    return exporter(screen, dialog, screen);
}

}  // namespace

int main(int argc, char** argv)
{
    // A shop that drops the connection must end in an empty page, not in a killed process.
    std::signal(SIGPIPE, SIG_IGN);
    const auto args = Parse(argc, argv);
    if (!args) {
        std::fprintf(stderr, "usage: korvel-collect SHOP [--ids FILE] [--all FILE]\n");
        return 2;
    }
    console::Terminal terminal(stderr);
    console::ConsoleScreen screen(args->shop, DefaultCollectionSettings(), terminal);
    if (RunCollection(screen) != RunOutcome::Collected)
        return 1;
    if (args->idsFile && !Export(ExportProductIds, *args->idsFile, screen))
        return 3;
    if (args->allFile && !Export(ExportAllInformation, *args->allFile, screen))
        return 3;
    return 0;
}
