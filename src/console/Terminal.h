#pragma once

// Where the console collector writes: GBK texts shown in the terminal's own encoding, progress
// overwritten in place on a terminal and written line by line into a pipe or file.

#include <cstdio>
#include <string>

namespace korvel::console {

class Terminal {
public:
    explicit Terminal(std::FILE* out);
    ~Terminal();

    // A line that stays.
    void line(const std::string& gbk);
    // A line the next progress or line replaces, when the output is a terminal.
    void progress(const std::string& gbk);
    bool interactive() const { return interactive_; }

private:
    std::string shown(const std::string& gbk) const;
    void endProgress();

    std::FILE* out_;
    bool interactive_;
    bool gbkLocale_;
    bool progressOpen_ = false;
};

}  // namespace korvel::console
