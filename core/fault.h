#pragma once
// A fault ends an action where it stands. It carries the run-time error number and its
// description, and what failed in the engineer's terms (which field, which quantity).

#include <optional>
#include <stdexcept>
#include <string>

#include "core/fields.h"

namespace wallcalc {

struct Fault {
    int number = 0;
    std::string description;  // e.g. "类型不匹配"
    std::string what;         // e.g. "钢筋级别：“II”不是数值，请选择或输入钢筋级别 1、2 或 3"
    // The field whose text the engineer should correct, where one is to blame; the window puts
    // the cursor there once the fault has been shown.
    std::optional<Field> field = std::nullopt;

    bool operator==(const Fault&) const = default;
};

// Run-time error numbers of the arithmetic and the readings.
namespace fault_number {
inline constexpr int kInvalidCall = 5;      // 无效的过程调用或参数: power 0.5 of a negative number
inline constexpr int kOverflow = 6;         // 溢出: overflow, or an invalid operation such as 0/0
inline constexpr int kDivisionByZero = 11;  // 除数为零
inline constexpr int kTypeMismatch = 13;    // 类型不匹配: the strict reading rejected a text
}  // namespace fault_number

// The description that goes with a fault number ("类型不匹配" for 13, ...).
std::string faultDescription(int number);

// Thrown by the readings, the checked arithmetic and the actions.
class FaultError : public std::runtime_error {
public:
    explicit FaultError(Fault fault);
    FaultError(int number, std::string what);
    FaultError(int number, std::string what, Field field);
    const Fault& fault() const noexcept { return fault_; }

private:
    Fault fault_;
};

}  // namespace wallcalc
