#include "core/checked.h"

#include <cmath>
#include <string>

#include "core/fault.h"

namespace wallcalc::checked {
namespace {

[[noreturn]] void raise(int number, const char* what) { throw FaultError(number, std::string(what)); }

// The flags an IEEE operation would raise, judged from its operands and its result.
double checkResult(double result, double a, double b, const char* what) {
    if (std::isnan(result) && !std::isnan(a) && !std::isnan(b)) raise(fault_number::kOverflow, what);
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) raise(fault_number::kOverflow, what);
    return result;
}

}  // namespace

double add(double a, double b, const char* what) { return checkResult(a + b, a, b, what); }
double sub(double a, double b, const char* what) { return checkResult(a - b, a, b, what); }
double mul(double a, double b, const char* what) { return checkResult(a * b, a, b, what); }

double div(double a, double b, const char* what) {
    if (b == 0 && std::isfinite(a) && a != 0) raise(fault_number::kDivisionByZero, what);
    return checkResult(a / b, a, b, what);
}

double square(double a, const char* what) { return checkResult(std::pow(a, 2.0), a, 2.0, what); }

double squareRoot(double a, const char* what) {
    if (a < 0) raise(fault_number::kInvalidCall, what);
    return checkResult(std::pow(a, 0.5), a, 0.5, what);
}

float toSingle(double a, const char* what) {
    float single = static_cast<float>(a);
    if (std::isinf(single) && std::isfinite(a)) raise(fault_number::kOverflow, what);
    return single;
}

float readToSingle(double a) { return static_cast<float>(a); }

}  // namespace wallcalc::checked
