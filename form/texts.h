#pragma once
// The windows' own fixed texts: title bar, banner and the texts of their boxes.

namespace wallcalc::form {

inline constexpr const char* kProgramTitle = "地下室外墙计算";
inline constexpr const char* kCredit = "编制：wallcalc 开发组";
inline constexpr const char* kBanner = "结构设计室　地下室外墙计算程序";

// "运行时错误 13：类型不匹配": %1 the fault's number, %2 its description.
inline constexpr const char* kFaultHeadline = "运行时错误 %1：%2";
inline constexpr const char* kExportNote = "正在打开文字处理软件……";

// The kinds of file the 文件 menu's dialogs offer, by name and pattern, and their titles.
struct FileType {
    const char* name;
    const char* pattern;
};
inline constexpr FileType kWallFileTypes[] = {{"墙体文件", "*.wall"}};
inline constexpr FileType kDocumentFileTypes[] = {
    {"PDF 文件", "*.pdf"}, {"Word 文档", "*.docx"}, {"OpenDocument 文本", "*.odt"}};
inline constexpr const char* kOpenWallTitle = "打开墙体文件";
inline constexpr const char* kSaveWallTitle = "另存为";
inline constexpr const char* kSaveReportTitle = "另存计算书";

}  // namespace wallcalc::form
