#include "collect/RunMessages.h"

#include "collect/DiscoverPages.h"
#include "text/Gbk.h"

namespace korvel {
namespace {

std::string Gbk(const std::string& utf8)
{
    return gbk::FromUtf8(utf8);
}

}  // namespace

RunMessage ClosingMessage(const CollectionRun& run)
{
    switch (run.end) {
        case RunEnd::Complete:
        case RunEnd::Incomplete:
            return {WithCause(Gbk("本次采集到的商品共有：" + std::to_string(run.productCount) + "件！"), run.lossLines),
                    Gbk("成功采集")};
        case RunEnd::Interrupted:
            return {};
        case RunEnd::Failed:
            break;
    }
    switch (run.failure) {
        case RunFailure::UnsupportedShop:
            return {Gbk("系统只支持淘宝天猫店铺"), Gbk("店铺错误")};
        case RunFailure::NoProducts:
            return {WithCause(Gbk("没有发现商品，请重试！"), run.failureCause), Gbk("未发现商品")};
        case RunFailure::NoPageInfo:
        case RunFailure::None:
            break;
    }
    return {WithCause(Gbk("未找到店铺的分页信息，请重试！"), run.failureCause), Gbk("未取得信息")};
}

std::string PageCountCaption(int shown)
{
    return Gbk("商品总页数：" + std::to_string(shown));
}

std::string ProgressCaption(int total)
{
    return Gbk("已经获取到宝贝：" + std::to_string(total));
}

std::string TotalCaption(int total)
{
    return Gbk("采集商品总数：" + std::to_string(total));
}

}  // namespace korvel
