#pragma once

#include <cstdint>

// Window messages and results shared between worker threads and dialogs.
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_DEVICECHANGE = 0x0219;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr UINT WM_INTERNETMSG = 0x464;
constexpr UINT WM_INTERNETMSGQUIET = 0x465;
constexpr UINT WM_TRAYNOTIFY = 0x8002;
constexpr UINT WM_READSECTOR = 0x8003;
constexpr UINT WM_EXECUTECDB = 0x8006;
constexpr UINT WM_TESTENDED = 0x8008;
constexpr UINT WM_ERRORTESTENDED = 0x8009;
constexpr UINT WM_COMPAREENDED = 0x800A;
constexpr UINT WM_USERCMDLAYOUT = 0x800B;
constexpr UINT WM_CLOSEUSERCOMMAND = 0x800C;
constexpr UINT WM_LBAENTERED = 0x800D;
constexpr UINT WM_USERCMDVALUES = 0x800E;
constexpr UINT WM_USERCMDVALUE = 0x800F;
constexpr UINT WM_OUTPUTEDITNOTIFY = 0x8010;
// The main window's own: drive work done off its thread, and a change of the
// report text (wParam: the ReportChange).
constexpr UINT WM_DRIVEWORKDONE = 0x8020;
constexpr UINT WM_REPORTCHANGED = 0x8021;
// A tool's worker (ISO creation, the compares) has ended; the test page's
// controls have changes to show.
constexpr UINT WM_TOOLWORKDONE = 0x8022;
constexpr UINT WM_TESTPAGECHANGED = 0x8023;
// The hash tools: progress to show, a question waiting for its answer, a
// message box to show, and the end of a run.
constexpr UINT WM_HASHPROGRESS = 0x8024;
constexpr UINT WM_HASHQUESTION = 0x8025;
constexpr UINT WM_HASHNOTICE = 0x8026;
constexpr UINT WM_HASHENDED = 0x8027;

// Device-change events carried by WM_DEVICECHANGE.
constexpr WPARAM DBT_DEVICEARRIVAL = 0x8000;
constexpr WPARAM DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr WPARAM SC_MINIMIZE = 0xF020;

// Dialog and message-box results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
