#pragma once
// The concrete and the steel of the wall as the review uses them (N/mm²).

#include <string_view>

namespace wallcalc::review {

struct Materials {
    int grade = 0;  // C grade: fcu,k in N/mm²
    double fc = 0, ft = 0, ftk = 0;
    double alpha1 = 0, beta1 = 0, epsCu = 0;
    std::string_view steel;  // HPB300, HRB335, HRB400, HRB500
    double fy = 0, Es = 0, nu = 0;
};

}  // namespace wallcalc::review
