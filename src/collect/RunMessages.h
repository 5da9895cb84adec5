#pragma once

// The words both views show for a run, the window's labels and box and the console's lines alike,
// as GBK converted from the texts here.

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
