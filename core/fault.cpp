#include "core/fault.h"

namespace wallcalc {

std::string faultDescription(int number) {
    for (const FaultKind& kind : kFaultTable)
        if (kind.number == number) return std::string(kind.description);
    return "运行时错误";
}

FaultError::FaultError(Fault fault)
    : std::runtime_error(std::to_string(fault.number) + " " + fault.description), fault_(std::move(fault)) {}

FaultError::FaultError(int number, std::string what)
    : FaultError(Fault{number, faultDescription(number), std::move(what)}) {}

FaultError::FaultError(int number, std::string what, Field field)
    : FaultError(Fault{number, faultDescription(number), std::move(what), field}) {}

}  // namespace wallcalc
