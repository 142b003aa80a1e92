#pragma once
// The wall's section, shared by the calculations and the report.

#include "core/checked.h"

namespace wallcalc {

// Effective depth ho in mm: the wall thickness less the 50 mm from the tension face to the bar
// centres, worked in metres and back, ((t ÷ 1000) − 0.05) × 1000.
inline double effectiveDepth(double thicknessMm, const char* what) {
    return checked::mul(checked::sub(checked::div(thicknessMm, 1000, what), 0.05, what), 1000, what);
}

}  // namespace wallcalc
