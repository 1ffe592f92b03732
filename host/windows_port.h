// The module's only Windows dependencies: finding the host's main window and its timers.
// On Windows they come from user32; anywhere else whatever hosts the module supplies these three
// functions (the panel host does, on its virtual clock).
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

typedef void* HWND;
typedef unsigned int UINT;
typedef std::uintptr_t UINT_PTR;
typedef std::uint32_t DWORD;
typedef int BOOL;
typedef const wchar_t* LPCWSTR;

#ifndef CALLBACK
#define CALLBACK
#endif

typedef void(CALLBACK* TIMERPROC)(HWND window, UINT message, UINT_PTR timerId, DWORD time);

extern "C" {
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
UINT_PTR SetTimer(HWND window, UINT_PTR timerId, UINT periodMs, TIMERPROC handler);
BOOL KillTimer(HWND window, UINT_PTR timerId);
}
#endif
