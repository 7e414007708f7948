#pragma once
// The DPI Corvid draws at and the font of its windows, from one place, so
// the windows, their controls and the on-screen message agree on both.
// Corvid declares itself aware of each monitor's DPI: layouts are given at
// 96 DPI and scaled here.
#include <cstdint>
#include <string>

#include "base/win32_fwd.h"

namespace corvid {

// The DPI of the monitor a window is on; without a window, the primary one's.
uint32_t WindowDpi(HWND window);
uint32_t PrimaryMonitorDpi();
// A length at 96 DPI at `dpi`, rounded.
int ScaleToDpi(int length96, uint32_t dpi);
// The system's message font at a DPI; made once per DPI and kept.
HFONT UiFont(uint32_t dpi);
// A face at a height given in pixels at 96 DPI; when the face is missing or
// draws Japanese text as boxes, an installed face that shows it. Made once
// and kept.
HFONT FaceFont(const wchar_t* face, int height96, uint32_t dpi, bool bold = false);
// The characters of `text` the font draws as the box of a missing glyph (the
// drawing of U+FFFF, which no font has) or not at all, as a user would see
// them; linked fallback fonts count.
std::wstring CharactersDrawnAsBoxes(HFONT font, const std::wstring& text);
// The outer size of a window whose client area is `client` at a DPI.
void AdjustForDpi(int& width, int& height, uint32_t style, uint32_t exStyle, uint32_t dpi);

}  // namespace corvid
