#include "ui/dialog_services_win32.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "base/handles_win32.h"
#include "base/text_win32.h"

namespace corvid {

std::vector<std::string> Win32FontList::ScreenFonts() {
  std::vector<std::string> names;
  const WindowDc dc(nullptr);
  if (!dc) return names;
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;  // every face, once per character set it has
  EnumFontFamiliesExW(
      dc.Get(), &all,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) -> int {
        auto& out = *reinterpret_cast<std::vector<std::string>*>(list);
        std::string name = Narrow(font->lfFaceName);
        if (std::find(out.begin(), out.end(), name) == out.end()) out.push_back(std::move(name));
        return 1;
      },
      reinterpret_cast<LPARAM>(&names), 0);
  return names;
}

bool Win32ColourChooser::Choose(uint32_t& colour) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  // Owned by the dialog whose swatch was clicked, which it keeps from input
  // while it is open.
  cc.hwndOwner = GetActiveWindow();
  cc.rgbResult = colour;
  cc.lpCustColors = reinterpret_cast<COLORREF*>(custom_.data());
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&cc)) return false;
  colour = cc.rgbResult & 0xFFFFFF;
  return true;
}

}  // namespace corvid
