#pragma once
// The date a review report printed by the command line carries.

#include <string>

namespace wallcalc::cli {

// Today's date as the review report prints it ("2024-05-01"), on this computer's calendar.
std::string localDate();

}  // namespace wallcalc::cli
