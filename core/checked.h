#pragma once
// Checked arithmetic of the calculations. Each operation gives the IEEE result and raises the
// numbered fault where the floating-point unit would raise its exception flag: division of a
// finite non-zero number by zero is fault 11; an invalid operation (0/0, inf-inf, 0*inf) and an
// overflow (a finite result too large for the precision) are fault 6; the power 0.5 of a
// negative number is fault 5. Underflow and inexact results are not faults. The checks are
// explicit comparisons on the operands and the result, so the optimiser cannot move them.

namespace wallcalc::checked {

// `what` names the quantity being formed, in the engineer's terms, for the fault message.
double add(double a, double b, const char* what);
double sub(double a, double b, const char* what);
double mul(double a, double b, const char* what);
double div(double a, double b, const char* what);
double square(double a, const char* what);      // the power 2
double squareRoot(double a, const char* what);  // the power 0.5

// Rounds a derived quantity to single precision; a finite value beyond the single range is
// an overflow.
float toSingle(double a, const char* what);

// Rounds a value that was read from a field to single precision. No fault: a reading beyond
// the single range becomes infinite and carries through the arithmetic.
float readToSingle(double a);

}  // namespace wallcalc::checked
