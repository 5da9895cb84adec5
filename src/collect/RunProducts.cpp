#include "collect/RunProducts.h"

#include <algorithm>

namespace korvel {

RunProducts::const_iterator::const_iterator(const std::vector<ProductSlice>* slices, size_t slice)
    : slices_(slices), slice_(slice)
{
    skipEmpty();
}

void RunProducts::const_iterator::skipEmpty()
{
    while (slice_ < slices_->size() && item_ >= (*slices_)[slice_]->size()) {
        ++slice_;
        item_ = 0;
    }
}

RunProducts::const_iterator& RunProducts::const_iterator::operator++()
{
    ++item_;
    skipEmpty();
    return *this;
}

ProductSlice RunProducts::append(std::vector<Product> products)
{
    auto slice = std::make_shared<const std::vector<Product>>(std::move(products));
    append(slice);
    return slice;
}

void RunProducts::append(ProductSlice slice)
{
    if (!slice || slice->empty())
        return;
    firstRows_.push_back(size_);
    size_ += slice->size();
    slices_.push_back(std::move(slice));
}

void RunProducts::clear()
{
    slices_.clear();
    firstRows_.clear();
    size_ = 0;
}

const Product& RunProducts::operator[](size_t index) const
{
    const auto after = std::upper_bound(firstRows_.begin(), firstRows_.end(), index);
    const size_t slice = static_cast<size_t>(after - firstRows_.begin()) - 1;
    return (*slices_[slice])[index - firstRows_[slice]];
}

}  // namespace korvel
