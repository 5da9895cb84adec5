#pragma once

// The words both views show for a run, the window's labels and box and korvel-collect's lines
// alike, as GBK converted from the texts here; the loss lines come composed with the run.

#include <string>

#include "collect/CollectionRun.h"
#include "collect/DiscoverPages.h"
#include "text/Gbk.h"

namespace korvel {

struct RunMessage {
    std::string message;
    std::string title;
};

// The message and title a finished run ends with; for an interrupted run, none (empty texts).
inline RunMessage ClosingMessage(const CollectionRun& run)
{
    switch (run.end) {
        case RunEnd::Complete:
        case RunEnd::Incomplete:
            return {WithCause(gbk::FromUtf8("本次采集到的商品共有：" + std::to_string(run.productCount) + "件！"),
                              run.lossLines),
                    gbk::FromUtf8("成功采集")};
        case RunEnd::Interrupted:
            return {};
        case RunEnd::Failed:
            break;
    }
    switch (run.failure) {
        case RunFailure::UnsupportedShop:
            return {gbk::FromUtf8("系统只支持淘宝天猫店铺"), gbk::FromUtf8("店铺错误")};
        case RunFailure::NoProducts:
            return {WithCause(gbk::FromUtf8("没有发现商品，请重试！"), run.failureCause),
                    gbk::FromUtf8("未发现商品")};
        case RunFailure::NoPageInfo:
        case RunFailure::None:
            break;
    }
    return {WithCause(gbk::FromUtf8("未找到店铺的分页信息，请重试！"), run.failureCause),
            gbk::FromUtf8("未取得信息")};
}

// 商品总页数：N, 已经获取到宝贝：N and 采集商品总数：N.
inline std::string PageCountCaption(int shown)
{
    return gbk::FromUtf8("商品总页数：" + std::to_string(shown));
}

inline std::string ProgressCaption(int total)
{
    return gbk::FromUtf8("已经获取到宝贝：" + std::to_string(total));
}

inline std::string TotalCaption(int total)
{
    return gbk::FromUtf8("采集商品总数：" + std::to_string(total));
}

}  // namespace korvel
