#pragma once
// What the Win32 view needs of every window: twips scaled by the window's DPI, the window's
// faces looked up by name in the order given, colours of controls and the boxes of the program.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wallcalc::win32 {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// Twips to pixels at `dpi`: 1440 twips an inch. Edges are rounded, not sizes, so that boxes
// drawn edge to edge stay so.
inline int pixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
RECT twipsRect(int left, int top, int width, int height, UINT dpi);

// The DPI of a window (per monitor where the system says so).
UINT dpiOf(HWND window);

// The first of `families` that the system has, else the first of them (the system then picks
// the nearest face of the character set).
std::wstring firstInstalled(const std::vector<std::string_view>& families);

// A font of `pointSize` at `dpi`; GB2312 where the face is a Chinese one.
HFONT makeFont(const std::wstring& face, double pointSize, UINT dpi, bool bold = false, bool chinese = true);

// Registers a window class with the arrow cursor, a system colour's brush as background and,
// where given, the program's icon (resource `icon`).
bool registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background, int icon = 0);

// The text of a window (UTF-8) and setting it.
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

// Modal boxes of the program: an error with OK, and the question before changes are lost
// (IDOK 保存, IDC_ASK_DISCARD 不保存, IDCANCEL 取消).
void errorBox(HWND owner, std::string_view title, std::string_view text);
int askToSave(HWND owner, std::string_view title, std::string_view text);

}  // namespace wallcalc::win32
