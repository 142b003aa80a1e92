#include "core/guard.h"

#include <exception>

namespace wallcalc {

std::optional<std::string> unexpectedFailure(const std::function<void()>& work) {
    std::string line;
    try {
        work();
        return std::nullopt;
    } catch (const std::exception& error) {
        line = error.what();
    } catch (...) {
        line = "未知的异常";
    }
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return line;
}

}  // namespace wallcalc
