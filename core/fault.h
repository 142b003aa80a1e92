#pragma once
// A fault ends an action where it stands. It carries the run-time error number and its
// description, and what failed in the engineer's terms (which field, which quantity).

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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

// The run-time error numbers the program reports. Their descriptions stand in kFaultTable.
namespace fault_number {
inline constexpr int kInvalidCall = 5;      // an impossible input or the power 0.5 of a negative number
inline constexpr int kOverflow = 6;         // overflow, or an invalid operation such as 0/0
inline constexpr int kDivisionByZero = 11;  // a finite non-zero number divided by zero
inline constexpr int kTypeMismatch = 13;    // a text that must be a number is not one
inline constexpr int kInternalError = 51;   // a defect of the program, not of the input
inline constexpr int kCannotCreate = 429;   // the word processor could not be started or reached
inline constexpr int kAutomation = 440;     // a call to the word processor failed after it was reached
inline constexpr int kCancelled = 18;       // the engineer cancelled the export while it waited
}  // namespace fault_number

struct FaultKind {
    int number;
    std::string_view description;
};

// Every fault the calculations, the export, the window and the command line report.
inline constexpr std::array<FaultKind, 8> kFaultTable{{
    {fault_number::kInvalidCall, "无效的过程调用或参数"},
    {fault_number::kOverflow, "溢出"},
    {fault_number::kDivisionByZero, "除数为零"},
    {fault_number::kTypeMismatch, "类型不匹配"},
    {fault_number::kCancelled, "出现用户中断"},
    {fault_number::kInternalError, "内部错误"},
    {fault_number::kCannotCreate, "部件不能创建对象"},
    {fault_number::kAutomation, "自动化错误"},
}};

// The description that goes with a fault number ("类型不匹配" for 13, ...); "运行时错误" for a
// number not in the table.
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
