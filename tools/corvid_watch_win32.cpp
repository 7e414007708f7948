// corvid-watch: starts the program on its command line (Corvid.exe replaying
// a session) and prints what happens to the desktop's titled top-level
// windows until it ends: windows that appear and close, their placement,
// which is in front, and the text of their edit box. The demo shows with it
// what Corvid's launch actions did.
//   corvid-watch [--saved CLASS] PROGRAM [ARGUMENTS]
// --saved CLASS: whenever the text of a window of that class changes, mark
// it saved (as a user saving it would), so that a later close does not ask.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

DWORD g_start = 0;

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

struct Seen {
  std::wstring title, cls, text;
  RECT rect{};
  bool zoomed = false, iconic = false, visible = false;
};

std::wstring Text(HWND w) {
  wchar_t buf[256] = {};
  GetWindowTextW(w, buf, 255);
  return buf;
}

HWND EditOf(HWND w) { return FindWindowExW(w, nullptr, L"Edit", nullptr); }

// False when the window did not answer (a program that is ending).
bool EditText(HWND w, std::wstring& text) {
  HWND e = EditOf(w);
  if (!e) return false;
  wchar_t buf[256] = {};
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(e, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 200, &ignored))
    return false;
  text = buf;
  return true;
}

bool g_talk = false;  // the desktop before the program started is not news

void Say(const Seen& s, const char* what) {
  if (!g_talk) return;
  std::printf("%6lu ms  desktop  '%s' (%s) %s\n", GetTickCount() - g_start, Utf8(s.title).c_str(),
              Utf8(s.cls).c_str(), what);
  std::fflush(stdout);
}

std::string Place(const Seen& s) {
  if (s.iconic) return "minimised";
  char buf[96];
  std::snprintf(buf, sizeof buf, "%sat %ld,%ld size %ldx%ld", s.zoomed ? "maximised, " : "", s.rect.left, s.rect.top,
                s.rect.right - s.rect.left, s.rect.bottom - s.rect.top);
  return buf;
}

struct Watch {
  DWORD ownPid = 0;  // the watched program's own windows are not of interest
  std::wstring savedClass;
  std::map<HWND, Seen> seen;
  HWND front = nullptr;

  void Look() {
    std::map<HWND, Seen> now;
    struct Ctx {
      Watch* self;
      std::map<HWND, Seen>* now;
    } ctx{this, &now};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
          auto* c = reinterpret_cast<Ctx*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == c->self->ownPid || pid == GetCurrentProcessId()) return TRUE;
          Seen s;
          s.visible = IsWindowVisible(w);
          // A window that was never shown is not of interest.
          if (!s.visible && !c->self->seen.count(w)) return TRUE;
          s.title = Text(w);
          if (s.title.empty()) return TRUE;
          wchar_t cls[256] = {};
          GetClassNameW(w, cls, 255);
          s.cls = cls;
          GetWindowRect(w, &s.rect);
          s.zoomed = IsZoomed(w);
          s.iconic = IsIconic(w);
          auto before = c->self->seen.find(w);
          if (before != c->self->seen.end()) s.text = before->second.text;
          EditText(w, s.text);
          (*c->now)[w] = s;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    for (auto& [w, s] : now) {
      auto old = seen.find(w);
      if (old == seen.end()) {
        Say(s, ("appeared, " + Place(s)).c_str());
      } else if (old->second.visible != s.visible) {
        Say(s, s.visible ? ("shown again, " + Place(s)).c_str() : "hidden");
      } else {
        if (Place(old->second) != Place(s)) Say(s, ("now " + Place(s)).c_str());
        if (old->second.title != s.title) Say(s, "has a new title");
      }
      if ((old == seen.end() && !s.text.empty()) || (old != seen.end() && old->second.text != s.text)) {
        Say(s, ("text \"" + Utf8(s.text) + "\"").c_str());
        if (s.cls == savedClass && !s.text.empty()) {
          SendMessageW(EditOf(w), EM_SETMODIFY, FALSE, 0);
          Say(s, "text marked saved by the watcher");
        }
      }
    }
    for (auto& [w, s] : seen)
      if (!now.count(w)) Say(s, "closed");
    seen.swap(now);
    HWND f = GetForegroundWindow();
    if (f != front && seen.count(f)) Say(seen[f], "in front");
    front = f;
  }
};

}  // namespace

int main() {
  std::wstring cmd = GetCommandLineW();
  size_t at = (!cmd.empty() && cmd[0] == L'"') ? cmd.find(L'"', 1) + 1 : cmd.find(L' ');
  auto rest = [&] {
    if (at == std::wstring::npos || at >= cmd.size()) return std::wstring();
    std::wstring r = cmd.substr(at);
    while (!r.empty() && r[0] == L' ') r.erase(0, 1);
    return r;
  };
  Watch watch;
  std::wstring child = rest();
  if (child.rfind(L"--saved ", 0) == 0) {
    const size_t end = child.find(L' ', 8);
    watch.savedClass = child.substr(8, end == std::wstring::npos ? std::wstring::npos : end - 8);
    child = end == std::wstring::npos ? L"" : child.substr(end + 1);
  }
  if (child.empty()) {
    std::printf("usage: corvid-watch [--saved CLASS] PROGRAM [ARGUMENTS]\n");
    return 2;
  }
  watch.Look();
  g_talk = true;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, child.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start: error %lu\n", GetLastError());
    return 1;
  }
  watch.ownPid = pi.dwProcessId;
  g_start = GetTickCount();
  DWORD ended = 0;
  for (;;) {
    watch.Look();
    if (!ended && WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) ended = GetTickCount();
    if (ended && GetTickCount() - ended > 500) break;  // the last closes land late
    Sleep(10);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  std::printf("%6lu ms  watched program ended with %lu\n", GetTickCount() - g_start, code);
  return static_cast<int>(code);
}
