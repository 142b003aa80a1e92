#pragma once
// The program's arguments as UTF-8 and its standard output as bytes, on every system.

#include <string>

namespace wallcalc::cli {

// Today's date as the review report prints it ("2024-05-01"), on this computer's calendar.
std::string localDate();

// On Windows: replaces `argv` by the command line's arguments in UTF-8 (the system hands main
// them in the ANSI code page, which loses what it cannot spell) and puts standard output in
// binary mode, so that a line ends in LF as on other systems and not in CR LF. Elsewhere: nothing.
void useUtf8Console(int& argc, char**& argv);

}  // namespace wallcalc::cli
