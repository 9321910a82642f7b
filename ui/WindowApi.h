#pragma once
// The window services the windows call by their customary names: tick count, screen
// metrics, placement, z-order and reparenting, invalidation, and the quit message.
#include "WinTypes.h"

// Milliseconds of a steady clock, wrapping as an unsigned 32-bit count.
DWORD GetTickCount();
// SM_CXSCREEN / SM_CYSCREEN of the primary screen; 0 for anything else.
int GetSystemMetrics(int index);
// Moves, sizes, shows, hides or restacks a window (HWND_TOPMOST / HWND_NOTOPMOST /
// HWND_TOP); child windows are placed in their parent's coordinates.
bool SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// Makes hWnd a child of parent, or a top-level window for a null parent; it keeps
// its visibility. Returns the previous parent.
HWND SetParent(HWND hWnd, HWND parent);
HWND GetParent(HWND hWnd);
bool GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* placement);
// An empty normal rectangle leaves the geometry alone and only applies showCmd.
bool SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* placement);
bool ShowWindow(HWND hWnd, int showCmd);
bool IsWindow(HWND hWnd);
bool IsWindowVisible(HWND hWnd);
// False while the window (or the window it lies in) is disabled, as the owner of an open modal window is.
bool IsWindowEnabled(HWND hWnd);
bool IsZoomed(HWND hWnd);
bool IsIconic(HWND hWnd);
bool GetClientRect(HWND hWnd, RECT* rc);
bool GetWindowRect(HWND hWnd, RECT* rc);
bool InvalidateRect(HWND hWnd, const RECT* rc, bool erase);
// Paints pending invalid areas now.
bool UpdateWindow(HWND hWnd);
bool SetForegroundWindow(HWND hWnd);
// The style bits of a framework window (0 for other widgets), and setting them:
// the child / popup bits follow the window's parent.
DWORD GetWindowStyle(HWND hWnd);
void SetWindowStyle(HWND hWnd, DWORD style);
// Ends the message loop with code; if none runs yet, the next one returns at once.
void PostQuitMessage(int code);

namespace mirado {
// The program's event loop (CPaintManagerUI::MessageLoop).
int runMessageLoop();
// Whether PostQuitMessage was called and not yet consumed by a message loop.
bool quitPosted(int* code = nullptr);
void clearQuit();
} // namespace mirado
