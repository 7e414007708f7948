#include "win32/wine_support_win32.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/tray_menu.h"
#include "config/file_store_win32.h"
#include "config/settings_store.h"
#include "base/text_win32.h"

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

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  static uint32_t table[256];
  if (!table[1])
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  Put32(png, uint32_t(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  Put32(png, Crc32(body.data(), body.size()));
}

}  // namespace

const std::wstring& CorvidExe() { return g_exe; }
const std::wstring& SourceDir() { return g_source; }
const std::wstring& BuildDir() { return g_build; }
std::wstring SourceFile(const std::wstring& relative) { return g_source + L"\\" + relative; }
std::wstring BuildFile(const std::wstring& name) { return g_build + L"\\" + name; }

void SetPaths(int argc, char** argv) {
  if (argc > 1) g_exe = WinPath(argv[1]);
  if (argc > 2) g_source = WinPath(argv[2]);
  if (argc > 3) g_build = WinPath(argv[3]);
}

std::string Utf8(const std::wstring& w) { return corvid::Narrow(w); }

void Pump(unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
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

void PressKey(WORD vk, int times) {
  std::vector<INPUT> keys;
  for (int i = 0; i < times; ++i)
    for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.dwFlags = flags;
      keys.push_back(in);
    }
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

void SetDpi(DWORD dpi) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
  }
}

bool QuitCorvid(const corvid::UniqueHandle& process) {
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::Quit), 0);
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

corvid::UniqueHandle Start(const std::wstring& exe, const std::wstring& args, const std::wstring& folder) {
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) return {};
  const corvid::UniqueHandle thread(pi.hThread);
  return corvid::UniqueHandle(pi.hProcess);
}

bool WaitExit(HANDLE process, unsigned ms, DWORD* code) {
  if (!process) return false;
  const DWORD end = GetTickCount() + ms;
  for (;;) {
    const DWORD left = static_cast<LONG>(end - GetTickCount()) > 0 ? end - GetTickCount() : 0;
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      if (code) GetExitCodeProcess(process, code);
      return true;
    }
    if (r == WAIT_TIMEOUT) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

std::vector<HWND> WindowsOfClass(const wchar_t* cls) {
  struct Ctx {
    const wchar_t* cls;
    std::vector<HWND> found;
  } ctx{cls, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        wchar_t name[64];
        if (GetClassNameW(w, name, 64) && lstrcmpW(name, c->cls) == 0) c->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

HWND VisibleWindowOfClass(const wchar_t* cls) {
  for (HWND w : WindowsOfClass(cls))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

std::wstring NotepadPath() {
  for (const wchar_t* p : {L"C:\\windows\\notepad.exe", L"C:\\windows\\system32\\notepad.exe"})
    if (GetFileAttributesW(p) != INVALID_FILE_ATTRIBUTES) return p;
  return L"";
}

HWND WaitForWindow(HWND (*find)(), unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    if (HWND w = find()) return w;
    Pump(20);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

bool WaitUntil(bool (*done)(), unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  while (!done()) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Pump(20);
  }
  return true;
}

void EndProcessOfWindow(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (const corvid::UniqueHandle p{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)}) {
    TerminateProcess(p.Get(), 0);
    WaitForSingleObject(p.Get(), 5000);
  }
}

void EndProgramsOfClass(const wchar_t* cls) {
  for (HWND w : WindowsOfClass(cls)) EndProcessOfWindow(w);
}

HWND MainWindowOfCorvid() {
  auto all = WindowsOfClass(corvid::kMainWindowClass);
  return all.empty() ? nullptr : all.front();
}

HWND FindBoxTitled(const wchar_t* title) { return FindWindowW(L"#32770", title); }

bool TrayIconExists(HWND owner) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = corvid::kTrayIconId;
  nid.uFlags = NIF_TIP;
  lstrcpyW(nid.szTip, corvid::Widen(corvid::kTrayTip).c_str());
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

std::wstring CorvidIniPath() {
  wchar_t docs[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, docs))) return L"";
  return std::wstring(docs) + L"\\.corvid\\Corvid.ini";
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out);
}

std::wstring FreshFolder(const std::wstring& name) {
  const std::wstring folder = BuildFile(name);
  // One level deep: the settings file and what start-up may leave beside it.
  WIN32_FIND_DATAW f;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + f.cFileName).c_str());
    } while (FindNextFileW(h, &f));
    FindClose(h);
  }
  CreateDirectoryW(folder.c_str(), nullptr);
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

InProcessCorvid::InProcessCorvid(const std::wstring& folderName) {
  const std::wstring folder = FreshFolder(folderName);
  // These tests send keys to windows of their own: the key map editor, shown
  // at a first start, would take the foreground from them.
  WriteFactorySettings(folder + corvid::Widen(corvid::kSettingsFileName), "ja", true);
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
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out.Get();
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  const bool started =
      CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi) != FALSE;
  out.Reset();  // the child's copy is the only one left: its end is the file's
  if (!started) return false;
  const corvid::UniqueHandle thread(pi.hThread), process(pi.hProcess);
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
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = c.width;
  info.bmiHeader.biHeight = -c.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  corvid::DibSection dib;
  c.pixels.resize(size_t(c.width) * size_t(c.height));
  if (!dib.Create(mem.Get(), info)) return c;  // black
  BitBlt(mem.Get(), 0, 0, c.width, c.height, screen.Get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(dib.Bits());
  for (size_t i = 0; i < c.pixels.size(); ++i) c.pixels[i] = p[i] & 0xFFFFFF;
  return c;
}

// Stored (uncompressed) deflate blocks: no library needed.
bool WritePng(const std::wstring& path, const Capture& c, int rows) {
  if (rows < 0 || rows > c.height) rows = c.height;
  std::vector<uint8_t> raw;
  for (int y = 0; y < rows; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < c.width; ++x) {
      const uint32_t p = c.At(x, y);
      raw.push_back(uint8_t(p >> 16));
      raw.push_back(uint8_t(p >> 8));
      raw.push_back(uint8_t(p));
    }
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  for (size_t at = 0;;) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    at += n;
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  Put32(z, (b << 16) | a);
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  Put32(header, uint32_t(c.width));
  Put32(header, uint32_t(rows));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", {});
  return WriteAll(path, std::string(png.begin(), png.end()));
}

}  // namespace wine_test

// Shared by the desktop tests.
#include <chrono>
#include <cstdio>

namespace wine_test {

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

}  // namespace wine_test
