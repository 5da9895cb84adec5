#include "demo-shop/ShopCatalog.h"

#include <cstdint>
#include <cstdio>

#include "text/Gbk.h"

namespace korvel::demo {
namespace {

const char* const kPrefixes[] = {"2014秋冬新品", "韩版", "【包邮】", "新款", "专柜正品 ", "热卖"};
const char* const kGoods[] = {"女呢料短裤",   "蕾丝花边连衣裙", "男士休闲皮衣", "手卷电子钢琴",
                              "纯棉T恤",      "羊毛针织开衫",   "加厚羽绒服",   "真皮单肩包",
                              "运动跑步鞋",   "不锈钢保温杯",   "蓝牙无线耳机", "实木书桌",
                              "儿童保暖内衣", "复古帆布双肩包", "陶瓷茶具套装"};
const char* const kSuffixes[] = {"（送腰带）", " 显瘦百搭", " 限时特价", "套装&amp;配件",
                                 "",           " 买二送一", "包邮"};

template <typename T, std::size_t N>
const char* Pick(const T (&list)[N], std::uint64_t n)
{
    return list[n % N];
}

std::uint64_t ProductNumber(int page, int index)
{
    return 520000000000ULL + static_cast<std::uint64_t>(page) * 100000ULL +
           static_cast<std::uint64_t>(index) + 1;
}

// A picture name that looks like the CDN's: letters and digits derived from the product number.
std::string PictureCode(std::uint64_t seed)
{
    static const char alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string code = "TB1";
    for (int i = 0; i < 24; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        code += alphabet[(seed >> 33) % 62];
    }
    return code;
}

std::string Money(std::uint64_t cents)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llu.%02llu", static_cast<unsigned long long>(cents / 100),
                  static_cast<unsigned long long>(cents % 100));
    return buf;
}

}  // namespace

bool ShowsMarketPrice(const DemoShopOptions& options, Marketplace family, int page, int index)
{
    if (family == Marketplace::Tmall)
        return false;
    switch (options.marketPrices) {
        case MarketPrices::All:
            return true;
        case MarketPrices::None:
            return false;
        case MarketPrices::Alternate:
            return index % 2 == 0;
        case MarketPrices::NotOnFirstPage:
            return page > 1;
    }
    return false;
}

bool ShowsSaleNum(const DemoShopOptions& options, int page, int index)
{
    return !options.withoutSaleNum.contains({page, index});
}

ShopItem CatalogItem(const DemoShopOptions& options, Marketplace family, int page, int index)
{
    if (options.firstItemOnEveryPage && index == 0)
        page = 1;
    const std::uint64_t n = ProductNumber(page, index);
    const auto mix = static_cast<std::uint64_t>(page) * 7919 + static_cast<std::uint64_t>(index) * 104729;
    const std::uint64_t cents = 990 + mix % 99000;
    const std::uint64_t sold =
        (static_cast<std::uint64_t>(page) * 131 + static_cast<std::uint64_t>(index) * 17) % 5000;
    const bool tmall = family == Marketplace::Tmall;

    ShopItem item;
    item.productId = std::to_string(n);
    item.imageAddress = "img.alicdn.com/bao/uploaded/i" + std::to_string(1 + n % 4) + "/" + PictureCode(n) +
                        (tmall ? "_!!0-item_pic.jpg_180x180.jpg" : "_!!0-item_pic.jpg_240x240.jpg");
    item.title = std::to_string(800 + mix % 200) + "# " + Pick(kPrefixes, mix / 7) + Pick(kGoods, n) +
                 Pick(kSuffixes, static_cast<std::uint64_t>(index));
    if (const auto title = options.titles.find({page, index}); title != options.titles.end())
        item.title = title->second;
    // The Taobao pages of those years left a blank before the closing tag of a price.
    const auto price = options.salePrices.find({page, index});
    item.salePrice = (price != options.salePrices.end() ? price->second : Money(cents)) + (tmall ? "" : " ");
    if (ShowsMarketPrice(options, family, page, index))
        item.marketPrice = Money((cents * 2 / 100 + 1) * 100) + " ";
    if (ShowsSaleNum(options, page, index))
        item.sold = options.soldCounts.contains({page, index}) ? options.soldCounts.at({page, index})
                                                                : std::to_string(sold);
    item.reviews = (tmall ? "评价: " : "") + std::to_string(sold / 3);
    return item;
}

std::string ShownPageCount(const DemoShopOptions& options)
{
    return options.shownPageCount ? *options.shownPageCount : std::to_string(options.pages);
}

int ReadPageCount(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        sign = text[i++] == '-' ? -1 : 1;
    long long n = 0;
    for (;;) {
        int digit = -1;
        if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            digit = text[i] - '0';
            i += 1;
        } else if (i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xA3 &&
                   static_cast<unsigned char>(text[i + 1]) >= 0xB0 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0xB9) {
            digit = static_cast<unsigned char>(text[i + 1]) - 0xB0;
            i += 2;
        }
        if (digit < 0 || n > 100000000)
            break;
        n = n * 10 + digit;
    }
    return static_cast<int>(sign * n);
}

ShopItem ListedItem(const DemoShopOptions& options, Marketplace family, int page, int index)
{
    ShopItem item = CatalogItem(options, family, page, index);
    for (std::string* field : {&item.productId, &item.imageAddress, &item.title, &item.salePrice,
                               &item.marketPrice, &item.sold, &item.reviews})
        *field = gbk::FromUtf8(*field);
    return item;
}

}  // namespace korvel::demo
