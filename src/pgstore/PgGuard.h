#pragma once

// What libpq threw, turned into the store's typed error before it leaves the module.

#include <exception>
#include <string>

#include "pgstore/Pg.h"
#include "store/StoreError.h"
#include "text/Gbk.h"

namespace korvel::pg {

inline StoreError Unusable(const PgFailure& failure)
{
    return {StoreFailure::InputOutput, gbk::FromUtf8(failure.message)};
}

template <typename Work>
auto Guarded(Work work) -> StoreResult<decltype(work())>
{
    try {
        return work();
    } catch (const PgFailure& failure) {
        return Unusable(failure);
    } catch (const std::exception& failure) {
        // Contents no recording writes (a length no run could have): the store is damaged.
        return StoreError{StoreFailure::Corrupt, std::string("the store is damaged: ") + failure.what()};
    }
}

}  // namespace korvel::pg
