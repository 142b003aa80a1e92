#pragma once
// The command-line program run as a POSIX process through the shell, its arguments quoted:
// what it printed on standard output and how it ended. Standard error goes to `errorTo`.

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace wallcalc::testing {

struct CliRun {
    std::string out;
    int status;  // the exit status, -1 where it did not exit
};

inline std::string shellQuote(const std::string& s) {
    std::string quoted = "'";
    for (char c : s) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline CliRun runCli(const std::string& program, const std::vector<std::string>& args,
                     const std::string& errorTo = "/dev/null") {
    std::string command = shellQuote(program);
    for (const std::string& arg : args) command += " " + shellQuote(arg);
    command += " 2>" + shellQuote(errorTo);
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{{}, -1};
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace wallcalc::testing
