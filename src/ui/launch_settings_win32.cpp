#include "ui/launch_settings_win32.h"

#include <windows.h>
#include <commdlg.h>

#include "base/dpi_win32.h"
#include "base/text_win32.h"

namespace corvid {
namespace {

using C = LaunchControl;

constexpr const wchar_t* kClass = L"LaunchSettings";
constexpr const wchar_t* kFace = L"ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;  // 9 points
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 432, kClientHeight = 574;

using T = TextId;
constexpr TextId kNotInteger = T::LaunchNotInteger;

using K = ControlKind;

constexpr int kLabelX = 16, kFieldX = 118, kFieldW = 298;

// In the order of the Tab key.
const ControlSpec kControls[] = {
    {K::Label, 0, T::LaunchEntry, {12, 11, 100, 16}},
    {K::DropList, C::kEntry, "", {112, 8, 120, 240}},

    {K::Group, 0, T::LaunchGroupProgram, {6, 34, 420, 164}},
    {K::Label, 0, T::LaunchMessage, {kLabelX, 57, 100, 16}},
    {K::Edit, C::Field(LaunchField::Message), "", {kFieldX, 54, kFieldW, 20}, ES_CENTER},
    {K::Label, 0, T::LaunchProgramFile, {kLabelX, 80, 100, 16}},
    {K::Edit, C::Field(LaunchField::ProgramFile), "", {kFieldX, 77, kFieldW - 36, 20}},
    {K::Button, C::kBrowse, T::ButtonBrowse, {kFieldX + kFieldW - 32, 77, 32, 20}},
    {K::Label, 0, T::LaunchArguments, {kLabelX, 103, 100, 16}},
    {K::Edit, C::Field(LaunchField::Arguments), "", {kFieldX, 100, kFieldW, 20}},
    {K::Label, 0, T::LaunchFolder, {kLabelX, 126, 100, 16}},
    {K::Edit, C::Field(LaunchField::Folder), "", {kFieldX, 123, kFieldW, 20}},
    {K::Label, 0, T::LaunchTargetClass, {kLabelX, 149, 100, 16}},
    {K::Edit, C::Field(LaunchField::TargetClass), "", {kFieldX, 146, kFieldW - 56, 20}},
    {K::Button, C::kFind, T::ButtonFind, {kFieldX + kFieldW - 52, 146, 52, 20}},
    {K::Label, 0, T::LaunchTargetCaption, {kLabelX, 172, 100, 16}},
    {K::Edit, C::Field(LaunchField::TargetCaption), "", {kFieldX, 169, kFieldW, 20}},

    {K::Group, 0, T::LaunchGroupActivation, {6, 204, 420, 232}},
    {K::Label, 0, T::LaunchPlacement, {kLabelX, 227, 60, 16}},
    {K::Radio, C::Radio(LaunchRadio::Normal), T::LaunchNormal, {80, 224, 62, 18}, WS_GROUP},
    {K::Radio, C::Radio(LaunchRadio::Minimised), T::LaunchMinimised, {146, 224, 64, 18}},
    {K::Radio, C::Radio(LaunchRadio::Maximised), T::LaunchMaximised, {80, 246, 62, 18}},
    {K::Radio, C::Radio(LaunchRadio::Rectangle), T::LaunchRectangle, {146, 246, 64, 18}},
    {K::Edit, C::Field(LaunchField::RectLeft), "", {214, 224, 50, 20}, ES_CENTER | WS_GROUP},
    {K::Edit, C::Field(LaunchField::RectTop), "", {268, 224, 50, 20}, ES_CENTER},
    {K::Edit, C::Field(LaunchField::RectRight), "", {214, 246, 50, 20}, ES_CENTER},
    {K::Edit, C::Field(LaunchField::RectBottom), "", {268, 246, 50, 20}, ES_CENTER},
    {K::Label, C::kRectNote, kNotInteger, {324, 238, 90, 16}, 0, true},
    {K::Check, C::Check(LaunchCheck::LaunchTopmost), T::LaunchTopmost, {kLabelX, 272, 150, 18}},
    {K::Check, C::Check(LaunchCheck::RecordState), T::LaunchRecordState, {180, 272, 150, 18}},
    {K::Check, C::Check(LaunchCheck::OwnKeyMap), T::LaunchOwnKeyMap, {kLabelX, 295, 150, 18}},
    {K::Button, C::kEditor, ">", {170, 294, 28, 20}},
    {K::Label, 0, T::LaunchStartMap, {kLabelX, 321, 100, 16}},
    {K::DropList, C::kStartMode, "", {kFieldX, 318, 200, 200}},
    {K::Check, C::Check(LaunchCheck::DummyClick), T::LaunchDummyClick, {kLabelX, 344, 240, 18}},
    {K::Edit, C::Field(LaunchField::ClickX), "", {260, 343, 48, 20}, ES_CENTER},
    {K::Edit, C::Field(LaunchField::ClickY), "", {312, 343, 48, 20}, ES_CENTER},
    {K::Label, C::kClickNote, kNotInteger, {364, 345, 56, 16}, 0, true},
    {K::Label, C::kDelayLabel, T::LaunchDelay, {kLabelX, 370, 132, 16}},
    {K::HorizontalBar, C::Bar(LaunchBar::ActivateDelay), "", {150, 368, 206, 18}},
    {K::Edit, C::Field(LaunchField::ActivateDelay), "", {362, 367, 54, 20}, ES_CENTER | ES_READONLY},
    {K::Label, 0, T::LaunchCoRun, {kLabelX, 394, 260, 16}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(0)), "1", {16, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(1)), "2", {66, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(2)), "3", {116, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(3)), "4", {166, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(4)), "5", {216, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(5)), "6", {266, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(6)), "7", {316, 412, 44, 18}},
    {K::Check, C::Check(LaunchSettings::CoRunCheck(7)), "8", {366, 412, 44, 18}},

    {K::Group, 0, T::LaunchGroupKeyAction, {6, 442, 420, 94}},
    {K::Label, 0, T::LaunchRunningAction, {kLabelX, 464, 150, 16}},
    {K::Radio, C::Radio(LaunchRadio::Nothing), T::LaunchNothing, {170, 462, 96, 18}, WS_GROUP},
    {K::Radio, C::Radio(LaunchRadio::Restore), T::LaunchRestore, {270, 462, 130, 18}},
    {K::Radio, C::Radio(LaunchRadio::Another), T::LaunchAnother, {0, 0, 0, 0}, 0, true},
    {K::Radio, C::Radio(LaunchRadio::QuitRunning), T::LaunchQuitRunning, {0, 0, 0, 0}, 0, true},
    {K::Check, C::Check(LaunchCheck::LongPressQuit), T::LaunchLongPressQuit, {kLabelX, 485, 220, 18}, WS_GROUP},
    {K::Label, C::kLongPressLabel, T::LaunchLongPressTime, {kLabelX, 510, 132, 16}},
    {K::HorizontalBar, C::Bar(LaunchBar::LongPressTime), "", {150, 508, 206, 18}},
    {K::Edit, C::Field(LaunchField::LongPressTime), "", {362, 507, 54, 20}, ES_CENTER | ES_READONLY},

    {K::Check, C::Check(LaunchCheck::DebugWindow), T::LaunchDebugWindow, {10, 546, 140, 18}},
    {K::Button, C::kTest, T::ButtonTest, {166, 542, 88, 26}},
    {K::Button, C::kCancel, T::ButtonCancel, {262, 542, 76, 26}},
    {K::Button, C::kSave, T::ButtonSave, {342, 542, 84, 26}, BS_DEFPUSHBUTTON},
};

COLORREF ColourOf(BoxColour c) {
  switch (c) {
    case BoxColour::White: return RGB(255, 255, 255);
    case BoxColour::Light: return GetSysColor(COLOR_3DLIGHT);
    case BoxColour::Face: return GetSysColor(COLOR_BTNFACE);
    case BoxColour::Yellow: return RGB(255, 255, 0);
    case BoxColour::Window: break;
  }
  return GetSysColor(COLOR_WINDOW);
}

}  // namespace

// "実行試験" acts on the press and on the release, as the remote's button
// would; a click alone would not tell how long it was held.
class LaunchSettingsWin32::TestButton : public Win32Window {
 public:
  explicit TestButton(LaunchSettings& model) : model_(model) {}
  bool Attach(HWND button) { return Subclass(button); }

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        const intptr_t r = Default(msg, wp, lp);
        model_.TestPress();
        return r;
      }
      case WM_LBUTTONUP: {
        // The button is drawn released before the action takes its time.
        const intptr_t r = Default(msg, wp, lp);
        model_.TestRelease();
        return r;
      }
      case WM_KEYDOWN:
        if (wp == VK_SPACE && !(lp & (1 << 30))) model_.TestPress();
        break;
      case WM_KEYUP:
        if (wp == VK_SPACE) {
          const intptr_t r = Default(msg, wp, lp);
          model_.TestRelease();
          return r;
        }
        break;
      default: break;
    }
    return Default(msg, wp, lp);
  }
  LaunchSettings& model_;
};

LaunchSettingsWin32::LaunchSettingsWin32(LaunchSettings& model, Win32WindowRegistry& windows)
    : SettingsWindowWin32(model, windows), model_(model) {}

LaunchSettingsWin32::~LaunchSettingsWin32() {
  model_.SetFileDialog(nullptr);
  testButton_.reset();
}

bool LaunchSettingsWin32::Create() {
  RegisterWindowClass(kClass, true);
  dpi_ = PrimaryMonitorDpi();
  int width = ScaleToDpi(kClientWidth, dpi_), height = ScaleToDpi(kClientHeight, dpi_);
  AdjustForDpi(width, height, kStyle, 0, dpi_);
  // Centred on the screen when made.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  if (!CreateOf(kClass, 0, Widen(model_.Caption()).c_str(), kStyle, x, y, width, height, nullptr)) return false;
  dpi_ = WindowDpi(Handle());
  yellow_.Reset(CreateSolidBrush(ColourOf(BoxColour::Yellow)));
  controls_.Make(Handle(), kControls);
  for (const std::string& s : LaunchSettings::EntryItems())
    SendMessageW(controls_[C::kEntry], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));
  for (const std::string& s : LaunchSettings::StartModeItems())
    SendMessageW(controls_[C::kStartMode], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));
  testButton_ = std::make_unique<TestButton>(model_);
  testButton_->Attach(controls_[C::kTest]);
  Layout(dpi_);
  model_.SetFileDialog(this);
  // Loading an entry changes many controls: one repaint after it. "保存"
  // closes before it writes the file and closes the programs: the dialog
  // goes at once rather than after them.
  Join(true, true);
  return true;
}

void LaunchSettingsWin32::Layout(uint32_t dpi) {
  dpi_ = dpi;
  controls_.Place(dpi, kFace, kFontHeight);
}

void LaunchSettingsWin32::Refresh() {
  refreshing_ = true;
  for (int n = 1; n <= LaunchSettings::kFields; ++n) {
    const LaunchFieldState& e = model_.Field(LaunchField(n));
    const HWND box = controls_[C::Field(LaunchField(n))];
    SetControlText(box, e.text);
    EnableWindow(box, e.enabled);
    if (shownColours_[n] != e.colour) {
      shownColours_[n] = e.colour;
      InvalidateRect(box, nullptr, TRUE);
    }
  }
  for (int n = 1; n <= LaunchSettings::kChecks; ++n) {
    const HWND box = controls_[C::Check(LaunchCheck(n))];
    if (!box) continue;  // a number no check box has
    SetChecked(box, model_.Check(LaunchCheck(n)).checked);
    EnableWindow(box, model_.Check(LaunchCheck(n)).enabled);
  }
  for (int n = 1; n <= LaunchSettings::kRadios; ++n) {
    const LaunchRadioState& r = model_.Radio(LaunchRadio(n));
    SetChecked(controls_[C::Radio(LaunchRadio(n))], r.checked);
    EnableWindow(controls_[C::Radio(LaunchRadio(n))], r.enabled);
  }
  for (LaunchBar b : {LaunchBar::ActivateDelay, LaunchBar::LongPressTime})
    SetScrollBar(controls_[C::Bar(b)], LaunchSettings::kDelayMin, LaunchSettings::kDelayMax, model_.Bar(b));
  for (int id : {C::Bar(LaunchBar::ActivateDelay), int(C::kDelayLabel)})
    EnableWindow(controls_[id], model_.DelayEnabled());
  for (int id : {C::Bar(LaunchBar::LongPressTime), int(C::kLongPressLabel)})
    EnableWindow(controls_[id], model_.LongPressEnabled());
  ShowWindow(controls_[C::kRectNote], model_.RectangleInvalid() ? SW_SHOWNA : SW_HIDE);
  ShowWindow(controls_[C::kClickNote], model_.ClickPointInvalid() ? SW_SHOWNA : SW_HIDE);
  for (const auto& [id, want] : {std::pair{int(C::kEntry), model_.Entry()}, {int(C::kStartMode), model_.StartMode()}})
    if (SendMessageW(controls_[id], CB_GETCURSEL, 0, 0) != want) SendMessageW(controls_[id], CB_SETCURSEL, want, 0);
  EnableWindow(controls_[C::kFind], model_.FindEnabled());
  EnableWindow(controls_[C::kEditor], model_.EditorButtonEnabled());
  SetControlText(controls_[C::kEditor], model_.EditorButtonCaption());
  refreshing_ = false;

  if (!model_.Visible() && browsing_) {
    // Closed (by a quit) while the open-file dialog runs: it goes too.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND d, LPARAM owner) -> BOOL {
          if (GetWindow(d, GW_OWNER) == reinterpret_cast<HWND>(owner)) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(Handle()));
  }
}

bool LaunchSettingsWin32::Choose(const std::string& folder, std::string& chosen) {
  const std::wstring initial = Widen(folder);
  const DWORD attributes = initial.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(initial.c_str());
  const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  // The filter's parts end in NULs where the table's end in '|'.
  std::wstring filter = Widen(Text(TextId::LaunchProgramFilter));
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  std::wstring name(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = isFolder ? initial.c_str() : nullptr;
  // The current folder stays: the help file is found relative to it.
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  browsing_ = true;
  const bool ok = GetOpenFileNameW(&ofn) != FALSE;
  browsing_ = false;
  if (!ok) return false;
  chosen = Narrow(name.c_str());
  return true;
}

intptr_t LaunchSettingsWin32::BoxColours(HWND control, HDC dc) {
  const int id = GetDlgCtrlID(control);
  if (id == C::kRectNote || id == C::kClickNote) {
    SetTextColor(dc, RGB(200, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<intptr_t>(GetSysColorBrush(COLOR_BTNFACE));
  }
  const int n = id - C::Field(LaunchField(0));
  if (n < 1 || n > LaunchSettings::kFields) return 0;
  const BoxColour c = model_.Field(LaunchField(n)).colour;
  SetBkColor(dc, ColourOf(c));
  switch (c) {
    case BoxColour::White: return reinterpret_cast<intptr_t>(GetStockObject(WHITE_BRUSH));
    case BoxColour::Light: return reinterpret_cast<intptr_t>(GetSysColorBrush(COLOR_3DLIGHT));
    case BoxColour::Face: return reinterpret_cast<intptr_t>(GetSysColorBrush(COLOR_BTNFACE));
    case BoxColour::Yellow: return reinterpret_cast<intptr_t>(yellow_.Get());
    case BoxColour::Window: break;
  }
  return reinterpret_cast<intptr_t>(GetSysColorBrush(COLOR_WINDOW));
}

intptr_t LaunchSettingsWin32::Respond(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case DM_GETDEFID:
      return DefaultButtonAnswer(Handle(), C::kSave);  // Enter: "保存"
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (const intptr_t brush = BoxColours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) return brush;
      break;
    case WM_HSCROLL: {
      const HWND bar = reinterpret_cast<HWND>(lp);
      for (LaunchBar b : {LaunchBar::ActivateDelay, LaunchBar::LongPressTime})
        if (GetDlgCtrlID(bar) == C::Bar(b))
          model_.SetBar(b, ScrollRequest(bar, wp, LaunchSettings::kSmallStep, LaunchSettings::kLargeStep));
      return 0;
    }
    case WM_COMMAND: {
      if (refreshing_) return 0;  // the dialog's own settings of its controls
      const int id = LOWORD(wp), code = HIWORD(wp);
      const HWND control = reinterpret_cast<HWND>(lp);
      if (id > C::Field(LaunchField(0)) && id <= C::Field(LaunchField(LaunchSettings::kFields))) {
        if (code == EN_CHANGE) model_.SetField(LaunchField(id - C::Field(LaunchField(0))), ControlText(control));
      } else if (id > C::Check(LaunchCheck(0)) && id <= C::Check(LaunchCheck(LaunchSettings::kChecks))) {
        const auto c = LaunchCheck(id - C::Check(LaunchCheck(0)));
        if (code == BN_CLICKED) model_.SetChecked(c, !model_.Check(c).checked);
      } else if (id > C::Radio(LaunchRadio(0)) && id <= C::Radio(LaunchRadio(LaunchSettings::kRadios))) {
        if (code == BN_CLICKED) model_.SelectRadio(LaunchRadio(id - C::Radio(LaunchRadio(0))));
      } else if (id == C::kEntry || id == C::kStartMode) {
        if (code == CBN_SELCHANGE) {
          const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
          if (id == C::kEntry) model_.SelectEntry(index);
          else model_.SetStartMode(index);
        }
      } else if (code == BN_CLICKED) {
        switch (id) {
          case C::kCancel: model_.Cancel(); break;
          case C::kSave: model_.Save(); break;
          case C::kBrowse: model_.BrowseProgram(); break;
          case C::kFind: model_.Find(); break;
          case C::kEditor: model_.ToggleEditor(); break;
          default: break;  // "実行試験" acts on its press and release
        }
      }
      return 0;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvid
