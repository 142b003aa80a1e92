#include "calc/strength.h"
#include "calc/fault.h"
namespace wallcalc {
void strengthCalculation(FieldSet&) { throw FaultError(fault_number::kOverflow, "not yet"); }
}
