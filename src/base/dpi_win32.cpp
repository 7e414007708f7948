#include "base/dpi_win32.h"

#include <windows.h>

#include <map>

namespace corvid {
namespace {

// Functions of newer systems, looked up once; absent on older ones.
struct DpiApi {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
  HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
  DpiApi() {
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      getDpiForWindow = reinterpret_cast<decltype(getDpiForWindow)>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
      systemParametersInfoForDpi = reinterpret_cast<decltype(systemParametersInfoForDpi)>(
          reinterpret_cast<void*>(GetProcAddress(user, "SystemParametersInfoForDpi")));
    }
    if (HMODULE shcore = LoadLibraryW(L"shcore.dll"))
      getDpiForMonitor = reinterpret_cast<decltype(getDpiForMonitor)>(
          reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
  }
};

const DpiApi& Api() {
  static const DpiApi api;
  return api;
}

uint32_t ScreenDcDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
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

}  // namespace corvid
