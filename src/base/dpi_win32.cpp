#include "base/dpi_win32.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/handles_win32.h"
#include "base/system_library_win32.h"

namespace corvid {
namespace {

// Functions of newer systems, looked up once; absent on older ones.
struct DpiApi {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
  HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  DpiApi() {
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      getDpiForWindow = reinterpret_cast<decltype(getDpiForWindow)>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
      systemParametersInfoForDpi = reinterpret_cast<decltype(systemParametersInfoForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user, "SystemParametersInfoForDpi")));
      adjustWindowRectExForDpi = reinterpret_cast<decltype(adjustWindowRectExForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi")));
    }
    if (HMODULE shcore = LoadSystemLibrary(L"shcore.dll"))
      getDpiForMonitor = reinterpret_cast<decltype(getDpiForMonitor)>(
          reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
  }
};

const DpiApi& Api() {
  static const DpiApi api;
  return api;
}

uint32_t ScreenDcDpi() {
  const WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return dpi > 0 ? static_cast<uint32_t>(dpi) : 96;
}

}  // namespace

uint32_t PrimaryMonitorDpi() {
  if (Api().getDpiForMonitor) {
    UINT x = 0, y = 0;
    const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (SUCCEEDED(Api().getDpiForMonitor(primary, 0 /* effective */, &x, &y)) && y > 0) return y;
  }
  return ScreenDcDpi();
}

uint32_t WindowDpi(HWND window) {
  if (window && Api().getDpiForWindow) {
    const UINT dpi = Api().getDpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return PrimaryMonitorDpi();
}

int ScaleToDpi(int length96, uint32_t dpi) { return MulDiv(length96, static_cast<int>(dpi), 96); }

HFONT UiFont(uint32_t dpi) {
  static std::map<uint32_t, HFONT> fonts;
  if (auto it = fonts.find(dpi); it != fonts.end()) return it->second;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  bool ok = false;
  if (Api().systemParametersInfoForDpi)
    ok = Api().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != FALSE;
  if (!ok) {
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
    // Given at the system DPI: brought to the one asked for.
    if (ok) metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                                    static_cast<int>(ScreenDcDpi()));
  }
  HFONT font = ok ? CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts.emplace(dpi, font);
  return font;
}

std::wstring CharactersDrawnAsBoxes(HFONT font, const std::wstring& text) {
  constexpr int kSize = 96;
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  DibSection dib;
  if (!dib.Create(dc.Get(), info)) return {};  // nothing to tell by: taken as drawn
  const SelectedObject selectedFont(dc.Get(), font);
  auto draw = [&](wchar_t ch) {
    RECT all{0, 0, kSize, kSize};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT at{8, 8, kSize, kSize};
    // DrawTextW, as menus and static controls draw, with font linking.
    DrawTextW(dc.Get(), &ch, 1, &at, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(dib.Bits());
    return std::vector<uint32_t>(p, p + kSize * kSize);
  };
  const std::vector<uint32_t> box = draw(0xFFFF);
  std::wstring bad;
  for (wchar_t ch : text) {
    if (ch <= L' ' || ch == 0x3000) continue;
    const std::vector<uint32_t> g = draw(ch);
    const bool blank = std::all_of(g.begin(), g.end(), [](uint32_t v) { return (v & 0xFFFFFF) == 0xFFFFFF; });
    if (blank || g == box) bad += ch;
  }
  return bad;
}

namespace {

// Whether text in the font shows a kanji and a kana as themselves.
bool DrawsJapanese(HFONT font) { return CharactersDrawnAsBoxes(font, L"\x6F22\x3042").empty(); }

}  // namespace

HFONT FaceFont(const wchar_t* face, int height96, uint32_t dpi, bool bold) {
  static std::map<std::tuple<std::wstring, int, uint32_t, bool>, HFONT> fonts;
  const auto key = std::make_tuple(std::wstring(face), height96, dpi, bold);
  if (auto it = fonts.find(key); it != fonts.end()) return it->second;
  static const wchar_t* const kFallbacks[] = {L"Meiryo UI", L"Meiryo",     L"Yu Gothic UI", L"MS UI Gothic",
                                              L"MS PGothic", L"IPAPGothic", L"IPAGothic"};
  auto make = [&](const wchar_t* name) {
    LOGFONTW lf{};
    lf.lfHeight = -ScaleToDpi(height96, dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, name, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
  };
  GdiObject<HFONT> made(make(face));
  if (made && !DrawsJapanese(made.Get())) {
    for (const wchar_t* other : kFallbacks) {
      GdiObject<HFONT> candidate(make(other));
      if (candidate && DrawsJapanese(candidate.Get())) {
        made = std::move(candidate);
        break;
      }
    }
  }
  // Kept for the program's life, as the controls showing it are.
  const HFONT font = made ? made.Release() : UiFont(dpi);
  fonts.emplace(key, font);
  return font;
}

void AdjustForDpi(int& width, int& height, uint32_t style, uint32_t exStyle, uint32_t dpi) {
  RECT r{0, 0, width, height};
  if (!(Api().adjustWindowRectExForDpi && Api().adjustWindowRectExForDpi(&r, style, FALSE, exStyle, dpi)))
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  width = r.right - r.left;
  height = r.bottom - r.top;
}

}  // namespace corvid
