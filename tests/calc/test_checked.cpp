#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "core/checked.h"
#include "core/fault.h"

using namespace wallcalc;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

int faultOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const FaultError& error) {
        return error.fault().number;
    }
    return 0;
}

}  // namespace

// The faults follow the IEEE exception flags: an operation on an infinity that gives an
// infinity is exact and raises nothing.
TEST(Checked, FaultsWhereTheFloatingPointUnitWouldRaiseAFlag) {
    struct Case {
        const char* name;
        std::function<void()> operation;
        int fault;
    };
    const Case cases[] = {
        {"x/0", [] { checked::div(1, 0, ""); }, 11},
        {"x/-0", [] { checked::div(-1, -0.0, ""); }, 11},
        {"0/0", [] { checked::div(0, 0, ""); }, 6},
        {"inf/0", [] { checked::div(kInf, 0, ""); }, 0},
        {"inf/inf", [] { checked::div(kInf, kInf, ""); }, 6},
        {"max*2", [] { checked::mul(kMax, 2, ""); }, 6},
        {"inf*2", [] { checked::mul(kInf, 2, ""); }, 0},
        {"inf*0", [] { checked::mul(kInf, 0, ""); }, 6},
        {"inf-inf", [] { checked::sub(kInf, kInf, ""); }, 6},
        {"max+max", [] { checked::add(kMax, kMax, ""); }, 6},
        {"underflow", [] { checked::mul(1e-300, 1e-300, ""); }, 0},
        {"square", [] { checked::square(1e155, ""); }, 6},
        {"root of -1", [] { checked::squareRoot(-1, ""); }, 5},
        {"root of -0", [] { checked::squareRoot(-0.0, ""); }, 0},
        {"root of -inf", [] { checked::squareRoot(-kInf, ""); }, 5},
        {"single overflow", [] { checked::toSingle(3.5e38, ""); }, 6},
        {"single of inf", [] { checked::toSingle(kInf, ""); }, 0},
        {"single underflow", [] { checked::toSingle(1e-50, ""); }, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(faultOf(c.operation), c.fault) << c.name;
    EXPECT_TRUE(std::isinf(checked::readToSingle(1e39)));
}
