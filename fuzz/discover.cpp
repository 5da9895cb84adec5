// Page discovery over any answer a shop can give, then the first page's products the way a run
// takes them (MatchChecks.h holds the searches to one answer). Every shop address is tried as a
// Taobao and as a Tmall shop, and as typed when the input names one.
// Input: four bytes for how both pages arrive (failure, status, certificate problem, retries), then
// result page 1 \0 Tmall shop page \0 the four settings markers \0 shop address \0 failure detail.

#include "FuzzSupport.h"
#include "MatchChecks.h"
#include "collect/DiscoverPages.h"
#include "collect/ItemLayout.h"
#include "collect/ResultPages.h"

namespace korvel::fuzz {
namespace {

struct Answers {
    std::string resultPage;
    std::string shopPage;
    HttpOutcome outcome;
    int retries = 0;
};

Answers AnswersFrom(const NumbersAndFields& input)
{
    const auto byte = [&input](std::size_t k) { return static_cast<unsigned char>(input.numbers[k]); };
    Answers answers;
    answers.resultPage = Field(input.fields, 0);
    answers.shopPage = Field(input.fields, 1);
    answers.outcome.failure = static_cast<HttpFailure>(byte(0) % (static_cast<int>(HttpFailure::Other) + 1));
    answers.outcome.status = byte(1) == 0 ? 200 : 100 + byte(1) * 2;
    answers.outcome.certificate = static_cast<CertificateProblem>(byte(2) % 6);
    answers.retries = byte(3) % 4;
    answers.outcome.refusedLocation = answers.outcome.detail = Field(input.fields, 7);
    return answers;
}

// The first page's products, as the run takes them from the area discovery cut out.
void CheckFirstPage(const ShopPages& pages)
{
    const ItemLayout layout = ChooseItemLayout(pages.family, pages.itemArea);
    for (const Match& match : CheckedMatches(FixedPair(layout.patternText), pages.itemArea))
        ItemFromMatch(match, layout);
}

void CheckDiscovery(const std::string& address, const CollectionSettings& settings, const Answers& answers)
{
    std::vector<PageRequest> requests;
    const PageSource fetch = [&](const PageRequest& request) {
        const bool shopPage = requests.empty() && ClassifyShopAddress(address) == ShopFamily::Tmall;
        requests.push_back(request);
        return std::optional<FetchedPage>(
            FetchedPage{shopPage ? answers.shopPage : answers.resultPage, answers.outcome, answers.retries});
    };
    int labels = 0;
    const auto result = DiscoverPages(
        address, settings, [&](int) { ++labels; }, fetch);
    Require(!std::holds_alternative<Abandoned>(result), "a run whose pages all arrive is never abandoned");
    if (const auto* failure = std::get_if<CollectionFailure>(&result)) {
        Require(labels == 0, "a failed discovery shows no page count");
        Require(failure->failure == RunFailure::NoPageInfo || failure->failure == RunFailure::UnsupportedShop,
                "a failed discovery says why");
        return;
    }
    const ShopPages& pages = std::get<ShopPages>(result);
    Require(labels == 1 && pages.pageCount >= 1, "a discovered shop shows its page count, at least 1");
    Require(requests.size() == (pages.family == ShopFamily::Tmall ? 2u : 1u), "one request per page needed");
    Require(requests.back().url == ResultPageUrl(pages.family, address, pages.tmallQuery, 1),
            "page 1 is requested with the shop's own query");
    Require(pages.pageText.find(pages.itemArea) != std::string::npos, "the item area is cut from page 1");
    Require(answers.shopPage.find(pages.tmallQuery) != std::string::npos,
            "the query is cut from the shop page");
    CheckFirstPage(pages);
}

}  // namespace
}  // namespace korvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korvel;
    using namespace korvel::fuzz;
    const NumbersAndFields input = SplitInput(data, size, 4);
    const auto& fields = input.fields;
    const CollectionSettings defaults = DefaultCollectionSettings();
    const CollectionSettings settings{
        Field(fields, 2, defaults.itemAreaStart), Field(fields, 3, defaults.itemAreaEnd),
        Field(fields, 4, defaults.tmallQueryStart), Field(fields, 5, defaults.tmallQueryEnd)};
    const Answers answers = AnswersFrom(input);
    for (const char* address : {"shop123.taobao.com", "shop123.tmall.com"})
        CheckDiscovery(address, settings, answers);
    if (fields.size() > 6)
        CheckDiscovery(Field(fields, 6), settings, answers);
    return 0;
}
