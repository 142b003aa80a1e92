#pragma once
// A fault ends an action where it stands. It carries the run-time error number and its
// description, and what failed in the engineer's terms (which field, which quantity).

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wallcalc {

struct Fault {
    int number = 0;
    std::string description;  // e.g. "类型不匹配"
    std::string what;         // e.g. "无法读取字段 Combo1 (钢筋级别) 的数值"

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
}  // namespace fault_number

struct FaultKind {
    int number;
    std::string_view description;
};

// Every fault the calculations, the export, the window and the command line report.
inline constexpr std::array<FaultKind, 7> kFaultTable{{
    {fault_number::kInvalidCall, "无效的过程调用或参数"},
    {fault_number::kOverflow, "溢出"},
    {fault_number::kDivisionByZero, "除数为零"},
    {fault_number::kTypeMismatch, "类型不匹配"},
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
    const Fault& fault() const noexcept { return fault_; }

private:
    Fault fault_;
};

}  // namespace wallcalc
