#pragma once
// The wall's section, shared by the calculations and the report.

#include "calc/hand_method.h"
#include "core/checked.h"

namespace wallcalc {

// Effective depth in metres: the wall thickness less the cover from the tension face to the bar
// centres, (t ÷ 1000) − 0.05.
inline double effectiveDepthM(double thicknessMm, const char* what) {
    return checked::sub(checked::div(thicknessMm, 1000, what), hand_method::k2002.coverM, what);
}

// Effective depth ho in mm, worked in metres and back, ((t ÷ 1000) − 0.05) × 1000.
inline double effectiveDepth(double thicknessMm, const char* what) {
    return checked::mul(effectiveDepthM(thicknessMm, what), 1000, what);
}

}  // namespace wallcalc
