#include "collect/RunMessages.h"

#include "collect/DiscoverPages.h"
#include "collect/Messages.h"
#include "text/Text.h"

namespace korvel {

RunMessage ClosingMessage(const CollectionRun& run)
{
    using namespace collect_text;
    switch (run.end) {
        case RunEnd::Complete:
        case RunEnd::Incomplete:
            return {WithCause(CollectedPrefix + IntToText(run.productCount) + CollectedSuffix, run.lossLines),
                    CollectedTitle};
        case RunEnd::Interrupted:
            return {};
        case RunEnd::Failed:
            break;
    }
    switch (run.failure) {
        case RunFailure::UnsupportedShop:
            return {UnsupportedShop, UnsupportedShopTitle};
        case RunFailure::NoProducts:
            return {WithCause(NoProducts, run.failureCause), NoProductsTitle};
        case RunFailure::NoPageInfo:
        case RunFailure::None:
            break;
    }
    return {WithCause(NoPageInfo, run.failureCause), NoPageInfoTitle};
}

std::string PageCountCaption(int shown)
{
    return collect_text::PageCountPrefix + IntToText(shown);
}

std::string ProgressCaption(int total)
{
    return collect_text::ProgressPrefix + IntToText(total);
}

std::string TotalCaption(int total)
{
    return collect_text::TotalPrefix + IntToText(total);
}

}  // namespace korvel
