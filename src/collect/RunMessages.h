#pragma once

// The words a view shows when a run ends, the same in the window's box and on the console (GBK).

#include <string>

#include "collect/CollectionRun.h"

namespace korvel {

struct RunMessage {
    std::string message;
    std::string title;
};

// The message and title a finished run ends with; for an interrupted run, none (empty texts).
RunMessage ClosingMessage(const CollectionRun& run);

// 商品总页数：N, 已经获取到宝贝：N and 采集商品总数：N.
std::string PageCountCaption(int shown);
std::string ProgressCaption(int total);
std::string TotalCaption(int total);

}  // namespace korvel
