#include "wallfile/wallfile.h"

#include <algorithm>
#include <optional>

#include "core/fault.h"
#include "wallfile/atomic_write.h"
#include "wallfile/json.h"

namespace wallcalc::wallfile {
namespace {

using json::Value;

[[noreturn]] void damaged(std::string_view name, const std::string& why) {
    throw WallFileError("墙体文件 " + std::string(name) + " 已损坏：" + why);
}

[[noreturn]] void foreign(std::string_view name, const std::string& why) {
    throw WallFileError(std::string(name) + " 不是墙体文件（" + why + "）");
}

}  // namespace

const std::vector<Field>& inputFields() {
    static const std::vector<Field> fields{Field::Text1,  Field::Text2,  Field::Text3,  Field::Text4,  Field::Text9,
                                           Field::Text10, Field::Text13, Field::Text17, Field::Combo1, Field::Text25};
    return fields;
}

bool isInputField(Field field) {
    const auto& fields = inputFields();
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

std::string toJson(const Wall& wall) {
    std::string out = "{\n  \"format\": " + json::quote(kFormat) + ",\n  \"version\": " + std::to_string(kVersion) +
                      ",\n  \"fields\": {";
    bool first = true;
    for (Field field : inputFields()) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        out += json::quote(fieldName(field)) + ": " + json::quote(wall.fields.text(field));
    }
    out += "\n  },\n  \"options\": {";
    first = true;
    for (const auto& [key, text] : wall.options.entries()) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        out += json::quote(key) + ": " + json::quote(text);
    }
    out += first ? "}\n}\n" : "\n  }\n}\n";
    return out;
}

Wall fromJson(std::string_view text, std::string_view name) {
    // A byte-order mark, as some editors write it, is not part of the text.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (!json::isUtf8(text)) foreign(name, "不是 UTF-8 文字");
    Value root;
    try {
        root = json::parse(text);
    } catch (const json::ParseError& error) {
        // Text that names the format was meant to be a wall file; anything else never was one.
        if (text.find(kFormat) != std::string_view::npos) damaged(name, error.what());
        foreign(name, std::string("不是 JSON 文档：") + error.what());
    }
    const Value* format = root.kind == Value::Kind::Object ? root.find("format") : nullptr;
    if (!format || format->kind != Value::Kind::String || format->text != kFormat)
        foreign(name, "没有 \"format\": \"" + std::string(kFormat) + "\"");

    const Value* version = root.find("version");
    if (!version || version->kind != Value::Kind::Number) damaged(name, "缺少格式版本 \"version\"");
    if (version->text != std::to_string(kVersion))
        throw WallFileError("墙体文件 " + std::string(name) + " 的格式版本为 " + version->text +
                            "，本程序只能读取版本 " + std::to_string(kVersion));

    Wall wall;
    const Value* fields = root.find("fields");
    if (!fields || fields->kind != Value::Kind::Object) damaged(name, "缺少字段表 \"fields\"");
    for (const auto& [key, value] : fields->members) {
        const std::optional<Field> field = fieldFromName(key);
        if (!field || !isInputField(*field)) damaged(name, "\"" + key + "\" 不是输入字段");
        if (value.kind != Value::Kind::String) damaged(name, "字段 " + key + " 的值应为文字（用引号括起）");
        wall.fields.setText(*field, value.text);
    }

    if (const Value* options = root.find("options")) {
        if (options->kind != Value::Kind::Object) damaged(name, "\"options\" 应为选项表");
        for (const auto& [key, value] : options->members) {
            if (value.kind != Value::Kind::String) damaged(name, "复核选项 " + key + " 的值应为文字（用引号括起）");
            try {
                wall.options.set(key, value.text);
            } catch (const FaultError& error) {
                damaged(name, error.fault().what);
            }
        }
    }
    return wall;
}

Wall load(const std::filesystem::path& path) {
    std::string text;
    try {
        text = readWholeFile(path);
    } catch (const ReadFailure& error) {
        throw WallFileError(error.what());
    }
    return fromJson(text, displayName(path.filename()));
}

void save(const std::filesystem::path& path, const Wall& wall) {
    try {
        writeAtomically(path, toJson(wall));
    } catch (const WriteError& error) {
        throw WallFileError(error.what());
    }
}

}  // namespace wallcalc::wallfile
