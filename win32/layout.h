#pragma once
// Form1's controls as the Win32 view places them, made from the model's layout tables; the
// window's fixed texts and faces.

#include <string>
#include <vector>

#include "win32/form1.h"

namespace wallcalc::win32 {

inline constexpr const char* kProgramTitle = "地下室外墙计算";
inline constexpr const char* kCredit = "编制：wallcalc 开发组";
inline constexpr const char* kFaultHeadline = "运行时错误 ";
inline constexpr const char* kExportNote = "正在打开文字处理软件……";

inline const std::vector<std::string> kSongFaces = {"宋体", "SimSun", "AR PL UMing CN", "Noto Serif CJK SC"};
inline const std::vector<std::string> kNewSongFaces = {"新宋体", "NSimSun", "Noto Serif CJK SC", "AR PL UMing CN"};
inline const std::vector<std::string> kKaiFaces = {"楷体_GB2312", "KaiTi_GB2312", "楷体", "KaiTi", "AR PL UKai CN"};

inline constexpr int kForm1ClientWidth = 9930;
inline constexpr int kForm1ClientHeight = 9600;

std::vector<ControlSpec> form1Controls();

}  // namespace wallcalc::win32
