#include "core/fault.h"

namespace wallcalc {

std::string faultDescription(int number) {
    switch (number) {
        case fault_number::kInvalidCall: return "无效的过程调用或参数";
        case fault_number::kOverflow: return "溢出";
        case fault_number::kDivisionByZero: return "除数为零";
        case fault_number::kTypeMismatch: return "类型不匹配";
        default: return "运行时错误";
    }
}

FaultError::FaultError(Fault fault)
    : std::runtime_error(std::to_string(fault.number) + " " + fault.description), fault_(std::move(fault)) {}

FaultError::FaultError(int number, std::string what)
    : FaultError(Fault{number, faultDescription(number), std::move(what)}) {}

FaultError::FaultError(int number, std::string what, Field field)
    : FaultError(Fault{number, faultDescription(number), std::move(what), field}) {}

}  // namespace wallcalc
