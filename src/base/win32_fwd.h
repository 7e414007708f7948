#pragma once
// The Win32 handle types, declared as <windows.h> declares them, so that a
// header of the Win32 layer can name them without dragging that header into
// its includers.
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HDC__;
typedef HDC__* HDC;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
struct HFONT__;
typedef HFONT__* HFONT;
struct HMENU__;
typedef HMENU__* HMENU;
struct HICON__;
typedef HICON__* HICON;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct tagMSG;
typedef tagMSG MSG;
