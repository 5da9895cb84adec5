#pragma once

// A run's products as the pages gave them: one shared, read-only slice per page. The run keeps
// every slice and a view that shows the products keeps the same slices, so the products exist
// once however many hold them, and nobody can change what the run recorded.

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "collect/Product.h"

namespace korvel {

using ProductSlice = std::shared_ptr<const std::vector<Product>>;

class RunProducts {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Product;
        using difference_type = std::ptrdiff_t;
        using pointer = const Product*;
        using reference = const Product&;

        const_iterator() = default;
        reference operator*() const { return (*(*slices_)[slice_])[item_]; }
        pointer operator->() const { return &**this; }
        const_iterator& operator++();
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return slice_ == other.slice_ && item_ == other.item_; }

    private:
        friend class RunProducts;
        const_iterator(const std::vector<ProductSlice>* slices, size_t slice);
        void skipEmpty();

        const std::vector<ProductSlice>* slices_ = nullptr;
        size_t slice_ = 0;
        size_t item_ = 0;
    };

    RunProducts() = default;
    // A run read back whole, as one slice.
    explicit RunProducts(std::vector<Product> products) { append(std::move(products)); }

    // Adds a page's products and returns the slice for whoever shows them.
    ProductSlice append(std::vector<Product> products);
    // Adds a slice another run or view holds already (no copy).
    void append(ProductSlice slice);
    void clear();

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Row `index` from 0; the slices are searched by their first rows.
    const Product& operator[](size_t index) const;
    const std::vector<ProductSlice>& slices() const { return slices_; }

    const_iterator begin() const { return const_iterator(&slices_, 0); }
    const_iterator end() const { return const_iterator(&slices_, slices_.size()); }

private:
    std::vector<ProductSlice> slices_;
    std::vector<size_t> firstRows_;  // of each slice
    size_t size_ = 0;
};

}  // namespace korvel
