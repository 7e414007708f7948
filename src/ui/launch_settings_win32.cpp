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
constexpr UINT kRefresh = WM_APP + 23;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 432, kClientHeight = 574;

// Labels the model enables.
constexpr int kDelayLabel = 701, kLongPressLabel = 702;
constexpr int kRectNote = C::kRectNote, kClickNote = C::kClickNote;
constexpr const char* kNotInteger = "整数のみ";

enum class Kind : uint8_t { Label, Edit, Check, Radio, Button, Group, Combo, Scroll };

struct Item {
  Kind kind;
  int id;
  const char* text;
  Rect96 r;
  uint32_t style = 0;
  bool hidden = false;
};

constexpr int kLabelX = 16, kFieldX = 118, kFieldW = 298;

// In the order of the Tab key.
const Item kItems[] = {
    {Kind::Label, 0, "割付インデックス", {12, 11, 100, 16}},
    {Kind::Combo, C::ComboBox(1), "", {112, 8, 120, 240}},

    {Kind::Group, 0, "  実行プログラム登録  ", {6, 34, 420, 164}},
    {Kind::Label, 0, "メッセージ", {kLabelX, 57, 100, 16}},
    {Kind::Edit, C::Edit(8), "", {kFieldX, 54, kFieldW, 20}, ES_CENTER},
    {Kind::Label, 0, "実行ファイル", {kLabelX, 80, 100, 16}},
    {Kind::Edit, C::Edit(1), "", {kFieldX, 77, kFieldW - 36, 20}},
    {Kind::Button, C::Button(3), " ．．", {kFieldX + kFieldW - 32, 77, 32, 20}},
    {Kind::Label, 0, "引数", {kLabelX, 103, 100, 16}},
    {Kind::Edit, C::Edit(7), "", {kFieldX, 100, kFieldW, 20}},
    {Kind::Label, 0, "実行パス", {kLabelX, 126, 100, 16}},
    {Kind::Edit, C::Edit(2), "", {kFieldX, 123, kFieldW, 20}},
    {Kind::Label, 0, "対象クラス名", {kLabelX, 149, 100, 16}},
    {Kind::Edit, C::Edit(12), "", {kFieldX, 146, kFieldW - 56, 20}},
    {Kind::Button, C::Button(5), "Find", {kFieldX + kFieldW - 52, 146, 52, 20}},
    {Kind::Label, 0, "対象キャプション", {kLabelX, 172, 100, 16}},
    {Kind::Edit, C::Edit(14), "", {kFieldX, 169, kFieldW, 20}},

    {Kind::Group, 0, "  アクティブ化処理  　", {6, 204, 420, 232}},
    {Kind::Label, 0, "配置設定", {kLabelX, 227, 60, 16}},
    {Kind::Radio, C::RadioButton(2), "通常", {80, 224, 62, 18}, WS_GROUP},
    {Kind::Radio, C::RadioButton(3), "最小化", {146, 224, 64, 18}},
    {Kind::Radio, C::RadioButton(1), "最大化", {80, 246, 62, 18}},
    {Kind::Radio, C::RadioButton(4), "指定", {146, 246, 64, 18}},
    {Kind::Edit, C::Edit(3), "", {214, 224, 50, 20}, ES_CENTER | WS_GROUP},
    {Kind::Edit, C::Edit(4), "", {268, 224, 50, 20}, ES_CENTER},
    {Kind::Edit, C::Edit(5), "", {214, 246, 50, 20}, ES_CENTER},
    {Kind::Edit, C::Edit(6), "", {268, 246, 50, 20}, ES_CENTER},
    {Kind::Label, kRectNote, kNotInteger, {324, 238, 90, 16}, 0, true},
    {Kind::Check, C::CheckBox(3), "最前面化で起動", {kLabelX, 272, 150, 18}},
    {Kind::Check, C::CheckBox(14), "起動状態を記録", {180, 272, 150, 18}},
    {Kind::Check, C::CheckBox(15), "個別キーマップ割付", {kLabelX, 295, 150, 18}},
    {Kind::Button, C::Button(6), ">", {170, 294, 28, 20}},
    {Kind::Label, 0, "起動時マップ", {kLabelX, 321, 100, 16}},
    {Kind::Combo, C::ComboBox(2), "", {kFieldX, 318, 200, 200}},
    {Kind::Check, C::CheckBox(4), "ダミークリックで対象をアクティブ化", {kLabelX, 344, 240, 18}},
    {Kind::Edit, C::Edit(9), "", {260, 343, 48, 20}, ES_CENTER},
    {Kind::Edit, C::Edit(10), "", {312, 343, 48, 20}, ES_CENTER},
    {Kind::Label, kClickNote, kNotInteger, {364, 345, 56, 16}, 0, true},
    {Kind::Label, kDelayLabel, "■遅延時間 (ms)", {kLabelX, 370, 132, 16}},
    {Kind::Scroll, C::ScrollBar(1), "", {150, 368, 206, 18}},
    {Kind::Edit, C::Edit(11), "", {362, 367, 54, 20}, ES_CENTER | ES_READONLY},
    {Kind::Label, 0, "同時稼動許可プログラムインデックス", {kLabelX, 394, 260, 16}},
    {Kind::Check, C::CheckBox(6), "1", {16, 412, 44, 18}},
    {Kind::Check, C::CheckBox(7), "2", {66, 412, 44, 18}},
    {Kind::Check, C::CheckBox(8), "3", {116, 412, 44, 18}},
    {Kind::Check, C::CheckBox(9), "4", {166, 412, 44, 18}},
    {Kind::Check, C::CheckBox(10), "5", {216, 412, 44, 18}},
    {Kind::Check, C::CheckBox(11), "6", {266, 412, 44, 18}},
    {Kind::Check, C::CheckBox(12), "7", {316, 412, 44, 18}},
    {Kind::Check, C::CheckBox(13), "8", {366, 412, 44, 18}},

    {Kind::Group, 0, "  割付キー押し時の処理  ", {6, 442, 420, 94}},
    {Kind::Label, 0, "起動中プログラムへの処理", {kLabelX, 464, 150, 16}},
    {Kind::Radio, C::RadioButton(8), "何もしない", {170, 462, 96, 18}, WS_GROUP},
    {Kind::Radio, C::RadioButton(5), "起動状態の復帰", {270, 462, 130, 18}},
    {Kind::Radio, C::RadioButton(6), "複数起動", {0, 0, 0, 0}, 0, true},
    {Kind::Radio, C::RadioButton(7), "終了", {0, 0, 0, 0}, 0, true},
    {Kind::Check, C::CheckBox(1), "長押し終了を有効にする。", {kLabelX, 485, 220, 18}, WS_GROUP},
    {Kind::Label, kLongPressLabel, "■終了までの時間 (ms)", {kLabelX, 510, 132, 16}},
    {Kind::Scroll, C::ScrollBar(2), "", {150, 508, 206, 18}},
    {Kind::Edit, C::Edit(13), "", {362, 507, 54, 20}, ES_CENTER | ES_READONLY},

    {Kind::Check, C::CheckBox(2), "ハンドル取得情報", {10, 546, 140, 18}},
    {Kind::Button, C::Button(4), "実行試験", {166, 542, 88, 26}},
    {Kind::Button, C::Button(1), "取消", {262, 542, 76, 26}},
    {Kind::Button, C::Button(2), "保存", {342, 542, 84, 26}, BS_DEFPUSHBUTTON},
};

HWND MakeItem(HWND parent, const Item& i) {
  const uint32_t visible = i.hidden ? 0 : WS_VISIBLE;
  switch (i.kind) {
    case Kind::Label: return MakeControl(parent, L"STATIC", i.text, visible | SS_LEFT | SS_NOPREFIX | i.style, i.id);
    case Kind::Edit:
      return MakeControl(parent, L"EDIT", i.text, visible | WS_TABSTOP | ES_AUTOHSCROLL | i.style, i.id,
                         WS_EX_CLIENTEDGE);
    case Kind::Check: return MakeControl(parent, L"BUTTON", i.text, visible | WS_TABSTOP | BS_CHECKBOX | i.style, i.id);
    case Kind::Radio:
      return MakeControl(parent, L"BUTTON", i.text, visible | WS_TABSTOP | BS_RADIOBUTTON | i.style, i.id);
    case Kind::Button: return MakeControl(parent, L"BUTTON", i.text, visible | WS_TABSTOP | i.style, i.id);
    case Kind::Group: return MakeControl(parent, L"BUTTON", i.text, visible | BS_GROUPBOX | i.style, i.id);
    case Kind::Combo:
      return MakeControl(parent, L"COMBOBOX", i.text, visible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, i.id);
    case Kind::Scroll: return MakeControl(parent, L"SCROLLBAR", i.text, visible | WS_TABSTOP | SBS_HORZ, i.id);
  }
  return nullptr;
}

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
    : model_(model), windows_(windows) {}

LaunchSettingsWin32::~LaunchSettingsWin32() {
  model_.onChange = nullptr;
  model_.SetFileDialog(nullptr);
  windows_.Remove(Handle());
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
  for (const Item& i : kItems) controls_.push_back({i.id, MakeItem(Handle(), i)});
  for (const std::string& s : LaunchSettings::ComboBox1Items())
    SendMessageW(Control(C::ComboBox(1)), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));
  for (const std::string& s : LaunchSettings::ComboBox2Items())
    SendMessageW(Control(C::ComboBox(2)), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));
  testButton_ = std::make_unique<TestButton>(model_);
  testButton_->Attach(Control(C::Button(4)));
  Layout(dpi_);
  ReportPlace(Handle(), model_);
  model_.SetFileDialog(this);
  model_.onChange = [this] {
    // "保存" closes before it writes the file and closes the programs: the
    // dialog goes at once rather than after them.
    if (Handle() && !model_.Visible() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
    // Loading an entry changes many controls: one repaint after it.
    if (refreshPending_ || !Handle()) return;
    refreshPending_ = true;
    PostMessageW(Handle(), kRefresh, 0, 0);
  };
  windows_.Add(Handle(), true);
  Refresh();
  return true;
}

HWND LaunchSettingsWin32::Control(int id) const {
  for (const auto& [i, w] : controls_)
    if (i == id) return w;
  return nullptr;
}

void LaunchSettingsWin32::Layout(uint32_t dpi) {
  dpi_ = dpi;
  HFONT font = FaceFont(kFace, kFontHeight, dpi);
  for (size_t k = 0; k < controls_.size(); ++k) PlaceControl(controls_[k].second, kItems[k].r, dpi, font);
}

void LaunchSettingsWin32::Refresh() {
  refreshPending_ = false;
  const HWND w = Handle();
  if (!w) return;
  refreshing_ = true;
  for (int n = 1; n <= LaunchSettings::kEdits; ++n) {
    const LaunchEdit& e = model_.Edit(n);
    const HWND box = Control(C::Edit(n));
    SetControlText(box, e.text);
    EnableWindow(box, e.enabled);
    if (shownColours_[n] != e.colour) {
      shownColours_[n] = e.colour;
      InvalidateRect(box, nullptr, TRUE);
    }
  }
  for (int n = 1; n <= LaunchSettings::kChecks; ++n) {
    if (n == 5) continue;  // there is no CheckBox5
    SetChecked(Control(C::CheckBox(n)), model_.CheckBox(n).checked);
    EnableWindow(Control(C::CheckBox(n)), model_.CheckBox(n).enabled);
  }
  for (int n = 1; n <= LaunchSettings::kRadios; ++n) {
    const LaunchRadio& r = model_.RadioButton(n);
    SetChecked(Control(C::RadioButton(n)), r.checked);
    EnableWindow(Control(C::RadioButton(n)), r.enabled);
  }
  SetScrollBar(Control(C::ScrollBar(1)), LaunchSettings::kDelayMin, LaunchSettings::kDelayMax, model_.ScrollBar(1));
  SetScrollBar(Control(C::ScrollBar(2)), LaunchSettings::kDelayMin, LaunchSettings::kDelayMax, model_.ScrollBar(2));
  for (int id : {C::ScrollBar(1), kDelayLabel}) EnableWindow(Control(id), model_.DelayEnabled());
  for (int id : {C::ScrollBar(2), kLongPressLabel}) EnableWindow(Control(id), model_.LongPressEnabled());
  auto invalid = [this](std::initializer_list<int> boxes) {
    for (int n : boxes)
      if (model_.Edit(n).invalid) return true;
    return false;
  };
  ShowWindow(Control(kRectNote), invalid({3, 4, 5, 6}) ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Control(kClickNote), invalid({9, 10}) ? SW_SHOWNA : SW_HIDE);
  for (int n : {1, 2}) {
    const HWND combo = Control(C::ComboBox(n));
    const int want = n == 1 ? model_.ComboBox1() : model_.ComboBox2();
    if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != want) SendMessageW(combo, CB_SETCURSEL, want, 0);
  }
  EnableWindow(Control(C::Button(5)), model_.FindEnabled());
  EnableWindow(Control(C::Button(6)), model_.EditorButtonEnabled());
  SetControlText(Control(C::Button(6)), model_.EditorButtonCaption());
  refreshing_ = false;

  FollowModel(w, model_, fronted_);
  if (!model_.Visible() && browsing_) {
    // Closed (by a quit) while the open-file dialog runs: it goes too.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND d, LPARAM owner) -> BOOL {
          if (GetWindow(d, GW_OWNER) == reinterpret_cast<HWND>(owner)) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(w));
  }
}

bool LaunchSettingsWin32::Choose(const std::string& folder, std::string& chosen) {
  const std::wstring initial = Widen(folder);
  const DWORD attributes = initial.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(initial.c_str());
  const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  static const wchar_t kFilter[] = L"プログラム (*.exe)\0*.exe\0すべてのファイル (*.*)\0*.*\0";
  std::wstring name(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = kFilter;
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
  if (id == kRectNote || id == kClickNote) {
    SetTextColor(dc, RGB(200, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<intptr_t>(GetSysColorBrush(COLOR_BTNFACE));
  }
  const int n = id - C::Edit(0);
  if (n < 1 || n > LaunchSettings::kEdits) return 0;
  const BoxColour c = model_.Edit(n).colour;
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

intptr_t LaunchSettingsWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (AnswerSettingsWindowMessage(Handle(), model_, msg, wp, lp, [this] { model_.Close(); },
                                  [this](uint32_t dpi) { Layout(dpi); }))
    return 0;
  switch (msg) {
    case DM_GETDEFID:
      return DefaultButtonAnswer(Handle(), C::Button(2));  // Enter: "保存"
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (const intptr_t brush = BoxColours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) return brush;
      break;
    case WM_HSCROLL: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      const int n = id - C::ScrollBar(0);
      if (n == 1 || n == 2)
        model_.SetScrollBar(n, ScrollRequest(reinterpret_cast<HWND>(lp), wp, LaunchSettings::kSmallStep, LaunchSettings::kLargeStep));
      return 0;
    }
    case WM_COMMAND: {
      if (refreshing_) return 0;  // the dialog's own settings of its controls
      const int id = LOWORD(wp), code = HIWORD(wp);
      const HWND control = reinterpret_cast<HWND>(lp);
      if (id > C::Edit(0) && id <= C::Edit(LaunchSettings::kEdits)) {
        if (code == EN_CHANGE) model_.SetEditText(id - C::Edit(0), ControlText(control));
      } else if (id > C::CheckBox(0) && id <= C::CheckBox(LaunchSettings::kChecks)) {
        const int n = id - C::CheckBox(0);
        if (code == BN_CLICKED) model_.SetChecked(n, !model_.CheckBox(n).checked);
      } else if (id > C::RadioButton(0) && id <= C::RadioButton(LaunchSettings::kRadios)) {
        if (code == BN_CLICKED) model_.SelectRadio(id - C::RadioButton(0));
      } else if (id == C::ComboBox(1) || id == C::ComboBox(2)) {
        if (code == CBN_SELCHANGE) {
          const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
          if (id == C::ComboBox(1)) model_.ComboBox1Change(index);
          else model_.SetComboBox2(index);
        }
      } else if (code == BN_CLICKED) {
        switch (id - C::Button(0)) {
          case 1: model_.Cancel(); break;
          case 2: model_.Save(); break;
          case 3: model_.BrowseProgram(); break;
          case 5: model_.Find(); break;
          case 6: model_.ToggleEditor(); break;
          default: break;  // Button4 acts on its press and release
        }
      }
      return 0;
    }
    default:
      if (msg == kRefresh) {
        Refresh();
        return 0;
      }
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvid
