#include "actions/entry_display_name.h"

namespace corvid {

namespace {

const char* ModifierPrefix(uint32_t low16) {
  switch (low16) {
    case 0x1000: return "Win.";
    case 0x0111: return "Shift.Ctrl.Alt.";
    case 0x0110: return "Shift.Ctrl.";
    case 0x0101: return "Shift.Alt.";
    case 0x0011: return "Ctrl.Alt.";
    case 0x0100: return "Shift.";
    case 0x0010: return "Ctrl.";
    case 0x0001: return "Alt.";
    case 0x1100: return "Shift.Win,";  // the comma is how earlier versions showed it
    case 0x1010: return "Ctrl.Win.";
    case 0x1001: return "Alt.Win.";
    default: return "";
  }
}

const char* KeyName(uint16_t key) {
  switch (key) {
    case 0xB3: return "PLAY/PAUSE";
    case 0xB2: return "STOP";
    case 0xB1: return "PREV";
    case 0xB0: return "NEXT";
    case 0xAD: return "VMute";
    case 0xAF: return "V+";
    case 0xAE: return "V-";
    case 0x0C: return "CLEAR";
    case 0x03: return "CANCEL";
    case 0x90: return "NLOCK";
    case 0x91: return "SCROLL";
    case 0x13: return "BREAK";
    case 0x14: case 0xF0: return "CAP";
    case 0x15: return "KANA";
    case 0x19: return "KANJI";
    case 0x1C: return "CONV";
    case 0x1D: return "NCONV";
    case 0x2A: return "PRINT";
    case 0x2C: return "PSCREEN";
    case 0x5F: return "SLEEP";
    case 0x9A: return "REBOOT";
    case 0x97: return "SUSPEND";
    case 0x98: return "HIBERNATE";
    case 0x99: return "SHUTDOWN";
    case 0x5D: return "APPS";
    case 0x08: return "BACK";
    case 0x2E: return "DEL";
    case 0x2D: return "INS";
    case 0x23: return "END";
    case 0x24: return "HOME";
    case 0x6C: return "ENTER";
    case 0x6A: return "*";
    case 0x6B: return "+";
    case 0x6D: return "-";
    case 0x6F: return "/";
    case 0x6E: return ".";
    case 0x21: return "PageUP";
    case 0x22: return "PageDOWN";
    case 0x27: return "RIGHT";
    case 0x28: return "DOWN";
    case 0x25: return "LEFT";
    case 0x26: return "UP";
    case 0x09: return "TAB";
    case 0x1B: return "ESC";
    case 0x0D: return "RETURN";
    case 0x20: return "SP";
    case 0xBA: return ":";
    case 0xBB: return ";";
    case 0xBC: return ",";
    case 0xBD: return "-";
    case 0xBE: return ".";
    case 0xBF: return "/";
    case 0xC0: return "@";
    case 0xDB: return "[";
    case 0xDD: return "]";
    case 0xDE: return "^";
    case 0xE2: return "BackSlash";
    case 0xB4: return "Mail";
    case 0xB5: return "Media";
    case 0xB7: return "Calc";
    case 0xF2: return "KANA";
    case 0xF3: return "ZEN";
    case 0xF4: return "HAN";
    case 0xDC: return "\\";
    default: return nullptr;
  }
}

}  // namespace

std::string EntryDisplayName(const KeyMapEntry& e) {
  std::string out;
  if (e.Key == action::kApp) {
    if (e.Param <= 7) return "App-" + std::to_string(e.Param + 1);
    if (e.Param == action::kAllQuit) return "QuitAll";
    return out;
  }
  if (e.Key == action::kMouseMove || e.Key == action::kMouseButton || e.Key == action::kMouseWheel) {
    static constexpr struct { uint32_t bit; const char* text; } parts[] = {
        {0x1000, "HSpeed."}, {0x2000, "LSpeed."},   {0x4000, "Dbl."},       {0x0001, "↑"},
        {0x0002, "→"},       {0x0004, "↓"},         {0x0008, "←"},          {0x0100, "WheelUp."},
        {0x0200, "WheelDown."}, {0x0010, "LClick"}, {0x0020, "RClick"},     {0x0040, "MClick"},
    };
    for (const auto& p : parts)
      if (e.Param & p.bit) out += p.text;
    return out;
  }
  out = ModifierPrefix(e.Param & 0xFFFF);
  const uint16_t k = e.Key;
  if ((k >= 0x30 && k <= 0x39) || (k >= 0x41 && k <= 0x5A)) {
    out += static_cast<char>(k);
  } else if (k >= 0x60 && k <= 0x69) {
    out += "NUM";
    out += static_cast<char>('0' + (k - 0x60));
  } else if (k >= 0x70 && k <= 0x7B) {
    out += "F" + std::to_string(k - 0x70 + 1);
  } else if (k == 0x5B || k == 0x5C) {
    if (!(e.Param & modifier::kWin)) out += "Win";
  } else if (const char* name = KeyName(k)) {
    out += name;
  }
  if (e.Key == 0 && e.Param != 0 && !out.empty()) out.pop_back();
  return out;
}

}  // namespace corvid
