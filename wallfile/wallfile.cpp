#include "wallfile/wallfile.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>

#include "core/fault.h"
#include "core/utf8.h"
#include "wallfile/atomic_write.h"
#include "wallfile/json.h"

namespace wallcalc::wallfile {
namespace {

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
    nlohmann::ordered_json json;
    json["format"] = kFormat;
    json["version"] = kVersion;
    json["fields"] = nlohmann::ordered_json::object();
    for (Field field : inputFields())
        json["fields"][fieldName(field)] = withReplacementCharacters(wall.fields.text(field));
    json["options"] = nlohmann::ordered_json::object();
    for (const auto& [key, text] : wall.options.entries()) json["options"][key] = withReplacementCharacters(text);
    return json.dump(2) + "\n";
}

Wall fromJson(std::string_view text, std::string_view name) {
    // A byte-order mark, as some editors write it, is not part of the text.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (!isUtf8(text)) foreign(name, "不是 UTF-8 文字");
    nlohmann::json root;
    try {
        root = json::parse(text);
    } catch (const json::ParseError& error) {
        // Text that names the format was meant to be a wall file; anything else never was one.
        if (text.find(kFormat) != std::string_view::npos) damaged(name, error.what());
        foreign(name, std::string("不是 JSON 文档：") + error.what());
    }
    const auto member = [&](const char* key) -> const nlohmann::json* {
        const auto at = root.find(key);
        return at == root.end() ? nullptr : &*at;
    };
    const nlohmann::json* format = root.is_object() ? member("format") : nullptr;
    if (!format || !format->is_string() || *format != kFormat)
        foreign(name, "没有 \"format\": \"" + std::string(kFormat) + "\"");

    const nlohmann::json* version = member("version");
    if (!version || !version->is_number()) damaged(name, "缺少格式版本 \"version\"");
    if (!version->is_number_integer() || *version != kVersion)
        throw WallFileError("墙体文件 " + std::string(name) + " 的格式版本为 " + version->dump() +
                            "，本程序只能读取版本 " + std::to_string(kVersion));

    Wall wall;
    const nlohmann::json* fields = member("fields");
    if (!fields || !fields->is_object()) damaged(name, "缺少字段表 \"fields\"");
    for (const auto& [key, value] : fields->items()) {
        const std::optional<Field> field = fieldFromName(key);
        if (!field || !isInputField(*field)) damaged(name, "\"" + key + "\" 不是输入字段");
        if (!value.is_string()) damaged(name, "字段 " + key + " 的值应为文字（用引号括起）");
        wall.fields.setText(*field, value.get<std::string>());
    }

    if (const nlohmann::json* options = member("options")) {
        if (!options->is_object()) damaged(name, "\"options\" 应为选项表");
        for (const auto& [key, value] : options->items()) {
            if (!value.is_string()) damaged(name, "复核选项 " + key + " 的值应为文字（用引号括起）");
            try {
                wall.options.set(key, value.get<std::string>());
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
        text = readWholeFile(path, kMaxBytes);
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
