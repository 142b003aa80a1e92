#include "office/office.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "office/export_fault.h"
#include "office/office_settings.h"

#ifdef _WIN32
#include "office/word_automation.h"
#endif

namespace wallcalc {

std::string_view formatName(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::Pdf: return "pdf";
        case DocumentFormat::Docx: return "docx";
        case DocumentFormat::Odt: return "odt";
    }
    return {};
}

std::optional<DocumentFormat> formatFromName(std::string_view name) {
    for (DocumentFormat format : {DocumentFormat::Pdf, DocumentFormat::Docx, DocumentFormat::Odt})
        if (formatName(format) == name) return format;
    return std::nullopt;
}

std::optional<DocumentFormat> documentFormatOf(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (extension.empty()) return std::nullopt;
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return formatFromName(std::string_view(extension).substr(1));
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

SaveTarget saveTargetOf(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    // The word processor resolves a relative name against its own folder, not ours.
    const fs::path target = fs::absolute(path, error).lexically_normal();
    if (error) throw export_fault::automation("无法保存计算书：" + pathText(path) + "：" + error.message());
    if (fs::is_directory(target, error))
        throw export_fault::automation("无法保存计算书 " + pathText(target) + "：那里是一个文件夹，请另选文件名");
    // The word processor writes a file of its own name beside the target, renamed once complete.
    std::random_device entropy;
    fs::path name = ".";
    name += target.stem();
    name += ".tmp" + std::to_string(entropy() % 1000000);
    name += target.extension();
    return {target, target.parent_path() / name};
}

void moveIntoPlace(const SaveTarget& save) {
    std::string why;
#ifdef _WIN32
    if (MoveFileExW(save.temporary.c_str(), save.target.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    why = word::systemText(HRESULT_FROM_WIN32(GetLastError()));
#else
    std::error_code error;
    std::filesystem::rename(save.temporary, save.target, error);
    if (!error) return;
    why = error.message();
#endif
    std::error_code ignored;
    std::filesystem::remove(save.temporary, ignored);
    throw export_fault::automation("无法保存计算书 " + pathText(save.target) + "：" + why);
}

}  // namespace wallcalc
