#pragma once
// Design values of the materials (N/mm²), as data: the concrete grades C20–C80 with fc, ft, ftk
// and the rectangular stress block (α1, β1, εcu), and the four bar grades by fy.

#include <array>
#include <string_view>

namespace wallcalc::review {

struct Concrete {
    int grade = 0;  // fcu,k
    double fc = 0, ft = 0, ftk = 0;
    // α1 and β1 are 1.0 and 0.8 up to C50 and fall linearly to 0.94 and 0.74 at C80;
    // εcu = 0.0033 − (fcu,k − 50)·10⁻⁵, at most 0.0033.
    double alpha1 = 1.0, beta1 = 0.8, epsCu = 0.0033;
};

struct Steel {
    int fy = 0;
    std::string_view name;
    double Es = 0;
    bool ribbed = true;
    double nu = 1.0;  // ν, relative bond of the bar: 0.7 plain, 1.0 ribbed
    int maxBar = 0;   // the largest diameter rolled, mm (plain bars up to 22); 0: no limit
};

struct Materials {
    std::array<Concrete, 13> concrete;
    std::array<Steel, 4> steel;

    // The row of a grade ("30" and "30.0" are both C30) or of a yield strength; nullptr when
    // the table has none.
    constexpr const Concrete* findConcrete(double grade) const {
        for (const Concrete& row : concrete)
            if (row.grade == grade) return &row;
        return nullptr;
    }
    constexpr const Steel* findSteel(double fy) const {
        for (const Steel& row : steel)
            if (row.fy == fy) return &row;
        return nullptr;
    }
};

inline constexpr Materials kMaterials{
    {{
        {20, 9.6, 1.10, 1.54, 1.0, 0.8, 0.0033},
        {25, 11.9, 1.27, 1.78, 1.0, 0.8, 0.0033},
        {30, 14.3, 1.43, 2.01, 1.0, 0.8, 0.0033},
        {35, 16.7, 1.57, 2.20, 1.0, 0.8, 0.0033},
        {40, 19.1, 1.71, 2.39, 1.0, 0.8, 0.0033},
        {45, 21.1, 1.80, 2.51, 1.0, 0.8, 0.0033},
        {50, 23.1, 1.89, 2.64, 1.0, 0.8, 0.0033},
        {55, 25.3, 1.96, 2.74, 0.99, 0.79, 0.00325},
        {60, 27.5, 2.04, 2.85, 0.98, 0.78, 0.0032},
        {65, 29.7, 2.09, 2.93, 0.97, 0.77, 0.00315},
        {70, 31.8, 2.14, 2.99, 0.96, 0.76, 0.0031},
        {75, 33.8, 2.18, 3.05, 0.95, 0.75, 0.00305},
        {80, 35.9, 2.22, 3.11, 0.94, 0.74, 0.0030},
    }},
    {{
        {270, "HPB300", 2.1e5, false, 0.7, 22},
        {300, "HRB335", 2.0e5, true, 1.0, 0},
        {360, "HRB400", 2.0e5, true, 1.0, 0},
        {435, "HRB500", 2.0e5, true, 1.0, 0},
    }},
};

}  // namespace wallcalc::review
