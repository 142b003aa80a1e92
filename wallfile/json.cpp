#include "wallfile/json.h"

#include <cstddef>
#include <iterator>
#include <set>
#include <vector>

namespace wallcalc::wallfile::json {
namespace {

// Deeper nesting than a wall file ever has is refused before it costs memory.
constexpr int kMaxDepth = 64;

// What the parser's messages say, and how the engineer reads it; the first that matches counts.
struct Reason {
    std::string_view says;
    const char* reason;
};
constexpr Reason kReasons[] = {
    {"unexpected end of input", "内容意外结束"},
    {"expected end of input", "值之后还有多余的内容"},
    {"missing closing quote", "字符串没有结束的引号"},
    {"control character", "字符串中有未转义的控制字符"},
    {"ill-formed UTF-8", "不是有效的 UTF-8 文字"},
    {"4 hex digits", "\\u 之后应为四位十六进制数"},
    {"must be followed by U+DC00", "孤立的高位代理"},
    {"must follow U+D800", "孤立的低位代理"},
    {"after backslash", "未知的转义序列"},
    {"invalid number", "数字的写法不对"},
    {"number overflow", "数字超出范围"},
    {"while parsing object key", "这里应为用引号括起的名称"},
    {"while parsing object separator", "名称之后应为冒号"},
    {"while parsing object", "这里应为逗号或右花括号"},
    {"while parsing array", "这里应为逗号或右方括号"},
};

std::string reasonOf(std::string_view message) {
    for (const Reason& r : kReasons)
        if (message.find(r.says) != std::string_view::npos) return r.reason;
    return "这里应为一个值";
}

[[noreturn]] void fail(std::string_view text, std::size_t offset, const std::string& reason) {
    int line = 1, column = 1;
    for (std::size_t k = 0; k < offset && k < text.size(); ++k) {
        if (text[k] == '\n') {
            line += 1;
            column = 1;
        } else if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            column += 1;
        }
    }
    throw ParseError(line, column, reason);
}

// The text as the parser reads it, one character after another, leaving behind how far it has
// read: where a refusal of this reader's own (not the parser's) stands.
class TrackedIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackedIterator(const char* at, const char** read) : at_(at), read_(read) {}
    reference operator*() const { return *at_; }
    TrackedIterator& operator++() {
        *read_ = ++at_;
        return *this;
    }
    TrackedIterator operator++(int) {
        TrackedIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackedIterator& other) const { return at_ == other.at_; }

private:
    const char* at_;
    const char** read_;
};

// Thrown by the parser's callback for what the parser itself accepts.
struct Refusal {
    std::size_t offset;
    std::string reason;
};

// The opening quote of the text in quotes whose closing quote stands just before `end`.
std::size_t nameStart(std::string_view text, std::size_t end) {
    for (std::size_t k = end >= 2 ? end - 2 : 0; k > 0; --k) {
        std::size_t backslashes = 0;
        while (backslashes < k && text[k - 1 - backslashes] == '\\') ++backslashes;
        if (text[k] == '"' && backslashes % 2 == 0) return k;
    }
    return 0;
}

}  // namespace

ParseError::ParseError(int line_, int column_, const std::string& reason)
    : std::runtime_error("第" + std::to_string(line_) + "行第" + std::to_string(column_) + "列：" + reason),
      line(line_),
      column(column_) {}

nlohmann::json parse(std::string_view text) {
    const char* read = text.data();
    std::vector<std::set<std::string>> names;  // of each object open, the innermost last
    const auto offset = [&] { return static_cast<std::size_t>(read - text.data()); };
    const nlohmann::json::parser_callback_t check = [&](int depth, nlohmann::json::parse_event_t event,
                                                        nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if ((event == Event::object_start || event == Event::array_start) && depth >= kMaxDepth)
            throw Refusal{offset() - 1, "嵌套过深"};
        if (event == Event::object_start) names.emplace_back();
        if (event == Event::object_end) names.pop_back();
        if (event == Event::key && !names.back().insert(parsed.get<std::string>()).second)
            throw Refusal{nameStart(text, offset()), "名称 \"" + parsed.get<std::string>() + "\" 在同一处出现了两次"};
        return true;
    };
    try {
        return nlohmann::json::parse(TrackedIterator(text.data(), &read),
                                     TrackedIterator(text.data() + text.size(), &read), check);
    } catch (const Refusal& refusal) {
        fail(text, refusal.offset, refusal.reason);
    } catch (const nlohmann::json::parse_error& error) {
        // The byte the parser stopped at, counted from 1: the end of the token it could not take,
        // or of a text in quotes, whose beginning is shown.
        const std::size_t at = error.byte > 0 ? error.byte - 1 : 0;
        const bool quoted = std::string_view(error.what()).find("unexpected string literal") != std::string_view::npos;
        fail(text, quoted ? nameStart(text, at + 1) : at, reasonOf(error.what()));
    } catch (const nlohmann::json::exception& error) {
        fail(text, offset(), reasonOf(error.what()));
    }
}

}  // namespace wallcalc::wallfile::json
