#include "report/compose.h"
#include "calc/fault.h"
namespace wallcalc {
std::string reportText(const FieldSet&) { throw FaultError(fault_number::kOverflow, "not yet"); }
void composeReport(FieldSet& fields) { fields.setText(Field::Text29, reportText(fields)); }
}
