#pragma once
// What the test programs that run under Wine share.
#include <windows.h>

#include <atomic>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/corvid_app.h"
#include "app/platform_win32.h"
#include "app/tray_menu.h"
#include "base/dpi_win32.h"
#include "base/handles_win32.h"
#include "base/text_win32.h"

namespace wine_test {

// From the command line ctest gives every test program.
const std::wstring& CorvidExe();
std::wstring SourceFile(const std::wstring& relative);  // "examples\\x.txt"
std::wstring BuildFile(const std::wstring& name);
void SetPaths(int argc, char** argv);

// Runs this thread's messages for about `ms` milliseconds.
void Pump(unsigned ms);
// A window of its own class at `place` (left, top, width, height), in front
// with the keyboard focus; without a background it is unpainted.
HWND MakeFrontWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, RECT place,
                     COLORREF background = CLR_INVALID);

// The real pointer to (x, y), with MOUSEEVENTF_ button flags.
void MouseTo(int x, int y, DWORD buttons = 0);

// Corvid.exe (or another program) as a process; empty when it did not start.
// With `out`, its standard output goes there (the handle is inherited).
corvid::UniqueHandle Start(const std::wstring& exe, const std::wstring& args, const std::wstring& folder = L"",
                           HANDLE out = nullptr);
// Pumps until the process ends or `ms` pass.
bool WaitExit(HANDLE process, unsigned ms, DWORD* code = nullptr);
// The first top-level window, or child of `parent` at any depth, that `is` holds for.
HWND FindWhere(const std::function<bool(HWND)>& is, HWND parent = nullptr);
std::wstring ClassOf(HWND w);
std::vector<HWND> WindowsOfClass(const wchar_t* cls);
HWND VisibleWindowOfClass(const wchar_t* cls);
// A child of the class (any case) and, when given, exactly this text.
HWND ChildWindow(HWND parent, const wchar_t* cls, const wchar_t* text = nullptr);
// Wine's notepad, where the prefix keeps it; "" when it has none.
std::wstring NotepadPath();
// Pumps until `done` holds or `ms` pass; false when it never did.
template <typename Done>
bool Until(Done done, unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  while (!done()) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Pump(20);
  }
  return true;
}
inline HWND WaitForWindow(HWND (*find)(), unsigned ms) {
  HWND w = nullptr;
  Until([&] { return (w = find()) != nullptr; }, ms);
  return w;
}
inline bool WaitUntil(bool (*done)(), unsigned ms) { return Until(done, ms); }
// The control with the keyboard focus in a window (of any program).
HWND FocusOf(HWND window);
// Whatever a test started ends, whatever happened.
void EndProcessOfWindow(HWND w);
inline void EndProgramsOfClass(const wchar_t* cls) {
  for (HWND w : WindowsOfClass(cls)) EndProcessOfWindow(w);
}
inline HWND MainWindowOfCorvid() { return FindWindowW(corvid::kMainWindowClass, nullptr); }
void SendTrayCommand(corvid::MenuItem item);
inline HWND FindBoxTitled(const wchar_t* title) { return FindWindowW(L"#32770", title); }
bool TrayIconExists(HWND owner);

// A key pressed and let go, `times` over (with `modifier` held), in one go; then the messages.
void PressKey(WORD vk, int times = 1, WORD modifier = 0);
void ClickAt(POINT at, unsigned holdMs = 0);
// A left click (two: a double click) in the middle of a window.
void ClickOn(HWND w, bool twice = false);
// A window's text, asked by message (it may be another process's).
std::string WindowText(HWND w);
// The window as the screen shows it, as a PNG in the build folder.
bool CaptureWindow(HWND w, const wchar_t* name);
// "常駐解除(&Q)" by the tray's command; true when Corvid.exe ended.
bool QuitCorvid(const corvid::UniqueHandle& process);

// A folder of this prefix by its CSIDL_ number; "" when it has none.
std::wstring KnownFolder(int csidl);
// Documents\.corvid\Corvid.ini of this prefix.
std::wstring CorvidIniPath();
std::string ReadAll(const std::wstring& path);
bool WriteAll(const std::wstring& path, const std::string& bytes);
// A new, empty folder under the build folder, ending in a backslash.
std::wstring FreshFolder(const std::wstring& name);
// The settings a first start writes, in `language` ("ja", "en").
void WriteFactorySettings(const std::wstring& ini, const char* language, bool hideStart = false);
inline std::string Utf8(const std::wstring& w) { return corvid::Narrow(w); }

// Corvid assembled in this process, started in a folder of its own on `settings` (the factory's when empty).
struct InProcessCorvid {
  explicit InProcessCorvid(const std::wstring& folderName, const std::string& settings = "");
  std::unique_ptr<corvid::Win32Platform> platform;
  std::unique_ptr<corvid::CorvidApp> app;
};

// A program run to its end within `ms`, its standard output in `outFile`.
bool RunToFile(const std::wstring& exe, const std::wstring& args, const std::wstring& outFile, unsigned ms,
               DWORD* code = nullptr);

// The screen, or a part of it, as 0x00RRGGBB pixels.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
Capture CaptureScreen(RECT area = {0, 0, 0, 0});
// The top `rows` rows (all when negative) as a PNG.
bool WritePng(const std::wstring& path, const Capture& c, int rows = -1);
// The pixels in `area` of two captures of the same place that `is` holds for in `now` and that
// changed: their count and box.
struct Changed {
  int count = 0;
  RECT box{INT_MAX, INT_MAX, -1, -1};
};
Changed ChangedPixels(const Capture& before, const Capture& now, RECT area, bool (*is)(uint32_t));
inline bool Bright(uint32_t p) { return (p & 0xFF) >= 200 && ((p >> 8) & 0xFF) >= 200 && ((p >> 16) & 0xFF) >= 200; }
inline bool Dark(uint32_t p) { return (p & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && ((p >> 16) & 0xFF) < 80; }

// A steady clock in milliseconds, with steps finer than one.
double MillisecondsNow();
// A recorded session's lines for one remote button (by its code) held
// `holdMs` and let go.
std::string ButtonPress(uint8_t code, unsigned holdMs = 50);

// Mouse moves injected from another thread at a hand's pace. Each returns
// only once the hook chain ran, so its time is the hooks' answer time.
class MoveProbe {
 public:
  MoveProbe();
  ~MoveProbe() { Stop(); }
  // The answer times, shortest first.
  std::vector<double> Stop();

 private:
  std::atomic<bool> stop_{false};
  std::vector<double> times_;
  std::thread thread_;
};

}  // namespace wine_test
