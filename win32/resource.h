#pragma once
// Identifiers of the program's resources (wallcalc.rc) and of Form1's menu commands.

#define IDI_WALLCALC 1
#define IDR_SYMBOL_FONT 101
#define IDR_DIAGRAM 102
#define IDD_ASK_SAVE 201
#define IDC_ASK_TEXT 202
#define IDC_ASK_DISCARD 203

#define IDM_NEW 40001
#define IDM_OPEN 40002
#define IDM_SAVE 40003
#define IDM_SAVE_AS 40004
#define IDM_SAVE_REPORT 40005

#define IDD_BUSY 211
#define IDC_BUSY_TEXT 212
