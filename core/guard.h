#pragma once
// The one place that catches what nobody expected. A fault of the input is a FaultError, which
// the actions report; anything else that escapes (a defect, memory exhausted) must not end the
// program: it becomes one line of text for the program's own message.

#include <functional>
#include <optional>
#include <string>

namespace wallcalc {

// Runs `work`. Returns nothing when it ends normally; when an exception escapes it, one line
// saying what it was (its what() with line ends as spaces, or "未知的异常").
std::optional<std::string> unexpectedFailure(const std::function<void()>& work);

}  // namespace wallcalc
