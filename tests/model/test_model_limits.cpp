// The accepted ranges of the model: each edge on the right side, NaN refused everywhere.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/model_limits.h"

namespace {

TEST(ModelLimits, EdgesOfEveryRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        ModelQuantity quantity;
        double value;
        RangeCheck verdict;
    } cases[] = {
        {ModelQuantity::Hc, 0.001, RangeCheck::accepted},
        {ModelQuantity::Hc, std::nextafter(0.001, 0.0), RangeCheck::below_smallest},
        {ModelQuantity::Hc, 1e-300, RangeCheck::below_smallest},
        {ModelQuantity::Hc, 0.0, RangeCheck::outside},
        {ModelQuantity::Hc, std::nextafter(1.0, 0.0), RangeCheck::accepted},
        {ModelQuantity::Hc, 1.0, RangeCheck::outside},
        {ModelQuantity::Hc, nan, RangeCheck::outside},
        {ModelQuantity::field, -1000.0, RangeCheck::accepted},
        {ModelQuantity::field, std::nextafter(1000.0, 2000.0), RangeCheck::outside},
        {ModelQuantity::field, nan, RangeCheck::outside},
        {ModelQuantity::axis_bound, 1000.0, RangeCheck::accepted},
        {ModelQuantity::axis_bound, -std::nextafter(1000.0, 2000.0), RangeCheck::outside},
        {ModelQuantity::axis_bound, nan, RangeCheck::outside},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check_range(c.quantity, c.value), c.verdict)
            << static_cast<int>(c.quantity) << " " << c.value;
    EXPECT_EQ(hc_refusal(RangeCheck::accepted), nullptr);
    EXPECT_EQ(std::string(hc_refusal(RangeCheck::below_smallest)), "Hc must be at least 0.001");
    EXPECT_EQ(std::string(hc_refusal(RangeCheck::outside)), "must be 0<Hc<1");
}

} // namespace
