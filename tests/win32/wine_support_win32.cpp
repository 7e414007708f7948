#include "win32/wine_support_win32.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "config/file_store_win32.h"
#include "config/settings_store.h"

namespace wine_test {
namespace {

std::wstring g_exe, g_source, g_build;

// A path as ctest passes it (a Unix path under Wine) as a Windows path.
std::wstring WinPath(const char* s) {
  std::wstring out = corvid::Widen(s);
  if (!out.empty() && out[0] == L'/') out = L"Z:" + out;
  std::replace(out.begin(), out.end(), L'/', L'\\');
  return out;
}

}  // namespace

const std::wstring& CorvidExe() { return g_exe; }
std::wstring SourceFile(const std::wstring& relative) { return g_source + L"\\" + relative; }
std::wstring BuildFile(const std::wstring& name) { return g_build + L"\\" + name; }

void SetPaths(int argc, char** argv) {
  if (argc > 1) g_exe = WinPath(argv[1]);
  if (argc > 2) g_source = WinPath(argv[2]);
  if (argc > 3) g_build = WinPath(argv[3]);
}

void Pump(unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void PressKey(WORD vk, int times, WORD modifier) {
  std::vector<INPUT> keys;
  const auto key = [&](WORD k, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k;
    in.ki.dwFlags = flags;
    keys.push_back(in);
  };
  if (modifier) key(modifier, 0);
  for (int i = 0; i < times; ++i) {
    key(vk, 0);
    key(vk, KEYEVENTF_KEYUP);
  }
  if (modifier) key(modifier, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  Pump(250);
}

void ClickAt(POINT at, unsigned holdMs) {
  SetCursorPos(at.x, at.y);
  Pump(50);
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Pump(flags == MOUSEEVENTF_LEFTDOWN ? holdMs : 30);
  }
}

void ClickOn(HWND w, bool twice) {
  RECT r;
  GetWindowRect(w, &r);
  for (int i = 0; i < (twice ? 2 : 1); ++i) ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  Pump(200);
}

std::string WindowText(HWND w) {
  std::wstring t(static_cast<size_t>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, t.size(), reinterpret_cast<LPARAM>(t.data()));
  t.resize(t.size() - 1);
  return corvid::Narrow(t);
}

bool CaptureWindow(HWND w, const wchar_t* name) {
  RECT r;
  return w && GetWindowRect(w, &r) && WritePng(BuildFile(name), CaptureScreen(r));
}

void SendTrayCommand(corvid::MenuItem item) {
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(item), 0);
}

bool QuitCorvid(const corvid::UniqueHandle& process) {
  SendTrayCommand(corvid::MenuItem::Quit);
  return WaitExit(process.Get(), 10000);
}

HWND MakeFrontWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, RECT place,
                     COLORREF background) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  if (background != CLR_INVALID) wc.hbrBackground = CreateSolidBrush(background);
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(exStyle, className, L"target", style | WS_VISIBLE, place.left, place.top, place.right,
                           place.bottom, nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(w);
  SetForegroundWindow(w);
  SetFocus(w);
  Pump(300);
  return w;
}

void MouseTo(int x, int y, DWORD buttons) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((x * 65535LL + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = LONG((y * 65535LL + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

corvid::UniqueHandle Start(const std::wstring& exe, const std::wstring& args, const std::wstring& folder, HANDLE out) {
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (out) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, out != nullptr, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return {};
  const corvid::UniqueHandle thread(pi.hThread);
  return corvid::UniqueHandle(pi.hProcess);
}

bool WaitExit(HANDLE process, unsigned ms, DWORD* code) {
  if (!process || !Until([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, ms)) return false;
  if (code) GetExitCodeProcess(process, code);
  return true;
}

HWND FindWhere(const std::function<bool(HWND)>& is, HWND parent) {
  struct Ctx {
    const std::function<bool(HWND)>& is;
    HWND found = nullptr;
  } ctx{is};
  const WNDENUMPROC each = [](HWND w, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Ctx*>(lp);
    if (c->is(w)) c->found = w;
    return !c->found;
  };
  if (parent)
    EnumChildWindows(parent, each, reinterpret_cast<LPARAM>(&ctx));
  else
    EnumWindows(each, reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = L"";
  GetClassNameW(w, name, 64);
  return name;
}

std::vector<HWND> WindowsOfClass(const wchar_t* cls) {
  std::vector<HWND> found;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, cls, nullptr));) found.push_back(w);
  return found;
}

HWND VisibleWindowOfClass(const wchar_t* cls) {
  return FindWhere([&](HWND w) { return IsWindowVisible(w) && ClassOf(w) == cls; });
}

HWND ChildWindow(HWND parent, const wchar_t* cls, const wchar_t* text) {
  return FindWhere(
      [&](HWND w) {
        return lstrcmpiW(ClassOf(w).c_str(), cls) == 0 && (!text || corvid::Widen(WindowText(w)) == text);
      },
      parent);
}

std::wstring NotepadPath() {
  for (const wchar_t* p : {L"C:\\windows\\notepad.exe", L"C:\\windows\\system32\\notepad.exe"})
    if (GetFileAttributesW(p) != INVALID_FILE_ATTRIBUTES) return p;
  return L"";
}

void EndProcessOfWindow(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (const corvid::UniqueHandle p{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)}) {
    TerminateProcess(p.Get(), 0);
    WaitForSingleObject(p.Get(), 5000);
  }
}

bool TrayIconExists(HWND owner) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = corvid::kTrayIconId;
  nid.uFlags = NIF_TIP;
  lstrcpyW(nid.szTip, corvid::Widen(corvid::kTrayTip).c_str());
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH];
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}

std::wstring CorvidIniPath() { return KnownFolder(CSIDL_PERSONAL) + L"\\.corvid\\Corvid.ini"; }

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
  CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out);
}

std::wstring FreshFolder(const std::wstring& name) {
  const std::wstring folder = BuildFile(name);
  std::error_code ignored;
  std::filesystem::remove_all(folder.c_str(), ignored);
  std::filesystem::create_directories(folder.c_str(), ignored);
  return folder + L"\\";
}

void WriteFactorySettings(const std::wstring& ini, const char* language, bool hideStart) {
  CreateDirectoryW(ini.substr(0, ini.rfind(L'\\')).c_str(), nullptr);
  corvid::ConfigData factory;
  corvid::ApplyFactoryDefaults(factory);
  factory.settings.HideStart = hideStart;
  factory.settings.Language = language;
  corvid::Win32FileStore files;
  corvid::SaveSystemSettings(factory, corvid::Narrow(ini), files, nullptr);
  corvid::SaveKeyMaps(factory, corvid::Narrow(ini), files, nullptr);
}

InProcessCorvid::InProcessCorvid(const std::wstring& folderName, const std::string& settings) {
  const std::wstring folder = FreshFolder(folderName), ini = folder + corvid::Widen(corvid::kSettingsFileName);
  if (!settings.empty())
    WriteAll(ini, settings);
  else  // the key map editor, shown at a first start, would take the foreground
    WriteFactorySettings(ini, "ja", true);
  platform = std::make_unique<corvid::Win32Platform>(corvid::Narrow(folder));
  app = std::make_unique<corvid::CorvidApp>(*platform);
  app->StartUp();
}

bool RunToFile(const std::wstring& exe, const std::wstring& args, const std::wstring& outFile, unsigned ms,
               DWORD* code) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  corvid::UniqueHandle out(
      CreateFileW(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
  if (!out) return false;
  const corvid::UniqueHandle process = Start(exe, args, L"", out.Get());
  out.Reset();  // the child's copy is the only one left: its end is the file's
  if (!process) return false;
  const bool ended = WaitExit(process.Get(), ms, code);
  if (!ended) TerminateProcess(process.Get(), 1);
  return ended;
}

Capture CaptureScreen(RECT area) {
  if (area.right <= area.left || area.bottom <= area.top)
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  Capture c;
  c.width = area.right - area.left;
  c.height = area.bottom - area.top;
  const corvid::WindowDc screen(nullptr);
  const corvid::MemoryDc mem(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, c.width, -c.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
  corvid::DibSection dib;
  c.pixels.resize(size_t(c.width) * size_t(c.height));
  if (!dib.Create(mem.Get(), info)) return c;  // black
  BitBlt(mem.Get(), 0, 0, c.width, c.height, screen.Get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(dib.Bits());
  for (size_t i = 0; i < c.pixels.size(); ++i) c.pixels[i] = p[i] & 0xFFFFFF;
  return c;
}

// GDI+ (in Windows and in Wine) encodes it; loaded when wanted, as nothing else needs it.
bool WritePng(const std::wstring& path, const Capture& c, int rows) {
  if (rows < 0 || rows > c.height) rows = c.height;
  const HMODULE gdiplus = LoadLibraryW(L"gdiplus.dll");
  const auto call = [&](const char* name, auto... args) {
    return reinterpret_cast<int(WINAPI*)(decltype(args)...)>(GetProcAddress(gdiplus, name))(args...);
  };
  const struct {
    UINT32 version = 1;
    void* callback = nullptr;
    BOOL noThread = FALSE, noCodecs = FALSE;
  } input;
  const CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  const INT rgb32 = 0x22009;  // PixelFormat32bppRGB: 0x00RRGGBB
  ULONG_PTR token = 0;
  void* bitmap = nullptr;
  const bool saved =
      gdiplus && call("GdiplusStartup", &token, static_cast<const void*>(&input), static_cast<void*>(nullptr)) == 0 &&
      call("GdipCreateBitmapFromScan0", INT(c.width), INT(rows), INT(c.width * 4), rgb32,
           static_cast<const void*>(c.pixels.data()), &bitmap) == 0 &&
      call("GdipSaveImageToFile", bitmap, path.c_str(), &png, static_cast<const void*>(nullptr)) == 0;
  if (bitmap) call("GdipDisposeImage", bitmap);
  return saved;
}

Changed ChangedPixels(const Capture& before, const Capture& now, RECT area, bool (*is)(uint32_t)) {
  Changed c;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, now.height); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, now.width); ++x)
      if (is(now.At(x, y)) && now.At(x, y) != before.At(x, y)) {
        ++c.count;
        c.box = {std::min<LONG>(c.box.left, x), std::min<LONG>(c.box.top, y), std::max<LONG>(c.box.right, x + 1),
                 std::max<LONG>(c.box.bottom, y + 1)};
      }
  return c;
}

double MillisecondsNow() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string ButtonPress(uint8_t code, unsigned holdMs) {
  char text[160];
  std::snprintf(text, sizeof text,
                "01 00 00 00 %02X FF FF FF FF 00 00 05\nwait %u\n01 00 00 00 FF FF FF FF FF 00 00 05\nwait 50\n", code,
                holdMs);
  return text;
}

MoveProbe::MoveProbe()
    : thread_([this] {
        for (int sign = 1; !stop_; sign = -sign) {
          INPUT in{};
          in.type = INPUT_MOUSE;
          in.mi.dx = sign;
          in.mi.dwFlags = MOUSEEVENTF_MOVE;
          const double t = MillisecondsNow();
          SendInput(1, &in, sizeof in);
          times_.push_back(MillisecondsNow() - t);
          ::Sleep(25);  // the pace of a hand, not a wait
        }
      }) {}

std::vector<double> MoveProbe::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  std::sort(times_.begin(), times_.end());
  return times_;
}

}  // namespace wine_test
