// The checks of the model's accepted ranges and the words that refuse an Hc.
#include "model/model_limits.h"

#include <cmath>

RangeCheck check_range(ModelQuantity quantity, double value) {
    switch (quantity) {
    case ModelQuantity::Hc:
        // Written so that NaN fails the first test.
        if (!(0.0 < value && value < kHcBound)) return RangeCheck::outside;
        return value < kSmallestHc ? RangeCheck::below_smallest : RangeCheck::accepted;
    case ModelQuantity::field:
        return std::fabs(value) <= kLargestField ? RangeCheck::accepted : RangeCheck::outside;
    case ModelQuantity::axis_bound:
        return std::fabs(value) <= kLargestAxisBound ? RangeCheck::accepted : RangeCheck::outside;
    }
    return RangeCheck::outside;
}

const char* hc_refusal(RangeCheck verdict) {
    switch (verdict) {
    case RangeCheck::accepted:
        return nullptr;
    case RangeCheck::below_smallest:
        return "Hc must be at least 0.001";
    case RangeCheck::outside:
        return "must be 0<Hc<1";
    }
    return "must be 0<Hc<1";
}
