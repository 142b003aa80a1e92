#include "office/helper_protocol.h"

#include <charconv>

namespace wallcalc::helper_protocol {
namespace {

bool number(std::string_view text, std::size_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::string encode(const Request& request) {
    if (request.kind == Request::Kind::Show)
        return "show " + std::to_string(request.report.size()) + "\n" + request.report;
    return "save " + request.filter + " " + std::to_string(request.path.size()) + " " +
           std::to_string(request.report.size()) + "\n" + request.path + request.report;
}

bool decode(const std::function<bool(std::string& line)>& readLine,
            const std::function<bool(std::size_t count, std::string& into)>& readExactly, Request& request) {
    std::string header;
    if (!readLine(header)) return false;
    // The filter names hold blanks ("MS Word 2007 XML"): the counts are the last words.
    const std::size_t last = header.rfind(' ');
    if (last == std::string::npos) return false;
    std::size_t reportBytes = 0, pathBytes = 0;
    if (!number(std::string_view(header).substr(last + 1), reportBytes)) return false;
    request = Request{};
    if (header.substr(0, last) == "show") {
        request.kind = Request::Kind::Show;
    } else {
        const std::size_t middle = header.rfind(' ', last - 1);
        if (!header.starts_with("save ") || middle == std::string::npos || middle < 5 ||
            !number(std::string_view(header).substr(middle + 1, last - middle - 1), pathBytes))
            return false;
        request.kind = Request::Kind::Save;
        request.filter = header.substr(5, middle - 5);
        if (!readExactly(pathBytes, request.path)) return false;
    }
    return readExactly(reportBytes, request.report);
}

std::string startedLine(pid_t pid) { return "started " + std::to_string(pid); }

std::string faultLine(int number, std::string what) {
    for (char& c : what)
        if (c == '\n' || c == '\r') c = ' ';
    return "fault " + std::to_string(number) + " " + what;
}

Answer parseAnswer(std::string_view line) {
    Answer answer;
    if (line == kConnected) {
        answer.kind = Answer::Kind::Connected;
    } else if (line == kDone) {
        answer.kind = Answer::Kind::Done;
    } else if (line.starts_with("started ")) {
        std::size_t pid = 0;
        if (number(line.substr(8), pid) && pid > 1) {
            answer.kind = Answer::Kind::Started;
            answer.started = static_cast<pid_t>(pid);
        }
    } else if (line.starts_with("fault ")) {
        line.remove_prefix(6);
        const std::size_t blank = line.find(' ');
        const std::string_view digits = line.substr(0, blank);
        answer.kind = Answer::Kind::Fault;
        if (std::from_chars(digits.data(), digits.data() + digits.size(), answer.number).ec != std::errc())
            answer.number = 0;
        if (blank != std::string_view::npos) {
            const std::string_view rest = line.substr(blank + 1);
            const std::size_t text = rest.find_first_not_of(' ');
            if (text != std::string_view::npos) answer.what = rest.substr(text);
        }
    }
    return answer;
}

}  // namespace wallcalc::helper_protocol
