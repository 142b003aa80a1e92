#pragma once
// The program's arguments as UTF-8 and its standard output as bytes, on every system.

namespace wallcalc::cli {

// On Windows: replaces `argv` by the command line's arguments in UTF-8 (the system hands main
// them in the ANSI code page, which loses what it cannot spell) and puts standard output in
// binary mode, so that a line ends in LF as on other systems and not in CR LF. Elsewhere: nothing.
void useUtf8Console(int& argc, char**& argv);

}  // namespace wallcalc::cli
