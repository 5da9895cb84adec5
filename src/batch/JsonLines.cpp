#include "batch/ShopBlock.h"
#include "text/JsonString.h"

namespace korvel::batch {
namespace {

void Field(std::string& line, const char* name, std::string_view text)
{
    line += ",\"";
    line += name;
    line += "\":";
    AppendJsonString(line, text);
}

void Field(std::string& line, const char* name, std::int64_t number)
{
    line += ",\"";
    line += name;
    line += "\":";
    line += std::to_string(number);
}

void ProductLine(std::string& out, const ShopBlock& block, const ProductCells& p)
{
    out += "{\"type\":\"product\"";
    Field(out, "shop", block.shop);
    Field(out, "id", p.id);
    Field(out, "picture", p.picture);
    Field(out, "title", p.title);
    Field(out, "price", p.price);
    Field(out, "market_price", p.marketPrice);
    Field(out, "sold", p.sold);
    Field(out, "reviews", p.reviews);
    Field(out, "page", p.page);
    Field(out, "position", p.position);
    Field(out, "run", block.run);
    out += "}\n";
}

void ShopLine(std::string& out, const ShopBlock& block)
{
    out += "{\"type\":\"shop\"";
    Field(out, "shop", block.shop);
    Field(out, "outcome", OutcomeName(block.outcome));
    Field(out, "products", static_cast<std::int64_t>(block.products.size()));
    Field(out, "pages", block.pages);
    out += ",\"lost_pages\":[";
    for (size_t i = 0; i < block.lostPages.size(); ++i)
        out += (i ? "," : "") + std::to_string(block.lostPages[i]);
    out += "]";
    if (block.cause)
        Field(out, "cause", *block.cause);
    else
        out += ",\"cause\":null";
    Field(out, "run", block.run);
    out += "}\n";
}

}  // namespace

std::string JsonLines(const ShopBlock& block)
{
    std::string out;
    for (const ProductCells& product : block.products)
        ProductLine(out, block, product);
    ShopLine(out, block);
    return out;
}

}  // namespace korvel::batch
