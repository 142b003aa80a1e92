#include "wallfile/json.h"

#include <cstdio>
#include <cstdlib>

namespace wallcalc::wallfile::json {
namespace {

// Deeper nesting than a wall file ever has is refused before it can exhaust the stack.
constexpr int kMaxDepth = 64;

std::size_t utf8Length(std::string_view s, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    auto cont = [&](std::size_t k) { return k < s.size() && (byte(k) & 0xC0) == 0x80; };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return cont(i + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!cont(i + 1) || !cont(i + 2)) return 0;
        if (lead == 0xE0 && byte(i + 1) < 0xA0) return 0;
        if (lead == 0xED && byte(i + 1) >= 0xA0) return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!cont(i + 1) || !cont(i + 2) || !cont(i + 3)) return 0;
        if (lead == 0xF0 && byte(i + 1) < 0x90) return 0;
        if (lead == 0xF4 && byte(i + 1) >= 0x90) return 0;
        return 4;
    }
    return 0;
}

void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    Value document() {
        skipSpace();
        Value value = parseValue(0);
        skipSpace();
        if (i_ < s_.size()) fail("值之后还有多余的内容");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        int line = 1, column = 1;
        for (std::size_t k = 0; k < i_ && k < s_.size(); ++k) {
            if (s_[k] == '\n') {
                ++line;
                column = 1;
            } else if ((static_cast<unsigned char>(s_[k]) & 0xC0) != 0x80) {
                ++column;
            }
        }
        throw ParseError(line, column, reason);
    }

    void skipSpace() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
    }

    bool take(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) return false;
        i_ += word.size();
        return true;
    }

    Value parseValue(int depth) {
        if (depth > kMaxDepth) fail("嵌套过深");
        if (i_ >= s_.size()) fail("内容意外结束");
        Value value;
        const char c = s_[i_];
        if (c == '{') {
            value.kind = Value::Kind::Object;
            ++i_;
            skipSpace();
            if (i_ < s_.size() && s_[i_] == '}') {
                ++i_;
                return value;
            }
            for (;;) {
                skipSpace();
                if (i_ >= s_.size() || s_[i_] != '"') fail("这里应为用引号括起的名称");
                std::string key = parseString();
                skipSpace();
                if (i_ >= s_.size() || s_[i_] != ':') fail("名称之后应为冒号");
                ++i_;
                skipSpace();
                value.members.push_back(Member{std::move(key), parseValue(depth + 1)});
                skipSpace();
                if (i_ < s_.size() && s_[i_] == ',') {
                    ++i_;
                    continue;
                }
                if (i_ < s_.size() && s_[i_] == '}') {
                    ++i_;
                    return value;
                }
                fail("这里应为逗号或右花括号");
            }
        }
        if (c == '[') {
            value.kind = Value::Kind::Array;
            ++i_;
            skipSpace();
            if (i_ < s_.size() && s_[i_] == ']') {
                ++i_;
                return value;
            }
            for (;;) {
                skipSpace();
                value.items.push_back(parseValue(depth + 1));
                skipSpace();
                if (i_ < s_.size() && s_[i_] == ',') {
                    ++i_;
                    continue;
                }
                if (i_ < s_.size() && s_[i_] == ']') {
                    ++i_;
                    return value;
                }
                fail("这里应为逗号或右方括号");
            }
        }
        if (c == '"') {
            value.kind = Value::Kind::String;
            value.text = parseString();
            return value;
        }
        if (take("true")) {
            value.kind = Value::Kind::Boolean;
            value.boolean = true;
            return value;
        }
        if (take("false")) {
            value.kind = Value::Kind::Boolean;
            return value;
        }
        if (take("null")) return value;
        if (c == '-' || (c >= '0' && c <= '9')) return parseNumber();
        fail("这里应为一个值");
    }

    Value parseNumber() {
        const std::size_t start = i_;
        auto digits = [&] {
            const std::size_t from = i_;
            while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
            return i_ > from;
        };
        if (s_[i_] == '-') ++i_;
        if (i_ < s_.size() && s_[i_] == '0')
            ++i_;
        else if (!digits())
            fail("数字的写法不对");
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            if (!digits()) fail("数字的写法不对");
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            if (!digits()) fail("数字的写法不对");
        }
        Value value;
        value.kind = Value::Kind::Number;
        value.text = std::string(s_.substr(start, i_ - start));
        // The grammar above leaves only what strtod reads the same in every locale.
        value.number = std::strtod(value.text.c_str(), nullptr);
        return value;
    }

    unsigned hex4() {
        if (i_ + 4 > s_.size()) fail("\\u 之后应为四位十六进制数");
        unsigned v = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[i_++];
            v <<= 4;
            if (h >= '0' && h <= '9')
                v |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                v |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                v |= static_cast<unsigned>(h - 'A' + 10);
            else
                fail("\\u 之后应为四位十六进制数");
        }
        return v;
    }

    std::string parseString() {
        ++i_;  // the opening quote
        std::string out;
        for (;;) {
            if (i_ >= s_.size()) fail("字符串没有结束的引号");
            const unsigned char c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return out;
            }
            if (c < 0x20) fail("字符串中有未转义的控制字符");
            if (c != '\\') {
                const std::size_t n = utf8Length(s_, i_);
                if (n == 0) fail("不是有效的 UTF-8 文字");
                out.append(s_.substr(i_, n));
                i_ += n;
                continue;
            }
            if (++i_ >= s_.size()) fail("字符串没有结束的引号");
            const char e = s_[i_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned long cp = hex4();
                    if (cp >= 0xDC00 && cp <= 0xDFFF) fail("孤立的低位代理");
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        if (!take("\\u")) fail("孤立的高位代理");
                        const unsigned low = hex4();
                        if (low < 0xDC00 || low > 0xDFFF) fail("孤立的高位代理");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    }
                    appendUtf8(out, cp);
                    break;
                }
                default: --i_; fail("未知的转义序列");
            }
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

const Value* Value::find(std::string_view key) const {
    const Value* found = nullptr;
    for (const auto& [name, value] : members)
        if (name == key) found = &value;
    return found;
}

ParseError::ParseError(int line_, int column_, const std::string& reason)
    : std::runtime_error("第" + std::to_string(line_) + "行第" + std::to_string(column_) + "列：" + reason),
      line(line_),
      column(column_) {}

Value parse(std::string_view text) { return Parser(text).document(); }

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string quote(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += ch;
                }
        }
    }
    return out + '"';
}

}  // namespace wallcalc::wallfile::json
