#include "remote/button_codes.h"

namespace corvid {
namespace {

struct NameTable {
  std::array<const char*, 256> log{};
  std::array<const char*, 256> plain{};
  constexpr NameTable() {
    struct Row { uint8_t code; const char* log; const char* plain; };
    constexpr Row rows[] = {
        {0x00, "NUM1 ", "NUM1"},   {0x01, "NUM2 ", "NUM2"},     {0x02, "NUM3 ", "NUM3"},
        {0x03, "NUM4 ", "NUM4"},   {0x04, "NUM5 ", "NUM5"},     {0x05, "NUM6 ", "NUM6"},
        {0x06, "NUM7 ", "NUM7"},   {0x07, "NUM8 ", "NUM8"},     {0x08, "NUM9 ", "NUM9"},
        {0x09, "NUM0 ", "NUM0"},   {0x0B, "ENTER ", "ENTER"},   {0x0E, "RETURN ", "RETURN"},
        {0x0F, "CLEAR ", "CLEAR"}, {0x16, "EJECT ", "EJECT"},   {0x1A, "MENU ", "MENU"},
        {0x28, "TIME ", "TIME"},   {0x30, "PREV ", "PREV"},     {0x31, "NEXT ", "NEXT"},
        {0x32, "PLAY ", "PLAY"},   {0x33, "LSCAN ", "LSCAN"},   {0x34, "RSCAN ", "RSCAN"},
        {0x38, "STOP ", "STOP"},   {0x39, "PAUSE ", "PAUSE"},   {0x40, "POPUP ", "POPUP"},
        {0x43, "PS ", "PS"},       {0x50, "SELECT ", "SELECT"}, {0x51, "L3 ", "L3"},
        {0x52, "R3 ", "R3"},       {0x53, "START ", "START"},   {0x54, "UP ", "UP"},
        {0x55, "RIGHT ", "RIGHT"}, {0x56, "DOWN ", "DOWN"},     {0x57, "LEFT ", "LEFT"},
        {0x58, "L2 ", "L2"},       {0x59, "R2 ", "R2"},         {0x5A, "L1 ", "L1"},
        {0x5B, "R1 ", "R1"},       {0x5C, "TRIANGLE ", "TRIANGLE"}, {0x5D, "CIRCLE ", "CIRCLE"},
        {0x5E, "CLOSS ", "CLOSS"}, {0x5F, "SQUARE ", "SQUARE"}, {0x60, "LSLOW ", "LSLOW"},
        {0x61, "RSLOW ", "RSLOW"}, {0x63, "SUBTITLE ", "SUBTITLE"}, {0x64, "AUDIO ", "AUDIO"},
        {0x65, "ANGLE ", "ANGLE"}, {0x70, "DISPLAY ", "DISPLAY"}, {0x80, "BLUE ", "BLUE"},
        {0x81, "RED ", "RED"},     {0x82, "GREEN ", "GREEN"},   {0x83, "YELLOW ", "YELLOW"},
        {0xFF, "--- ", "---"},
    };
    for (const Row& r : rows) {
      log[r.code] = r.log;
      plain[r.code] = r.plain;
    }
  }
};

constexpr NameTable kNames;

constexpr uint32_t Bit(int maskByte, int bit) { return 1u << ((2 - maskByte) * 8 + bit); }

}  // namespace

const std::array<MaskButton, 18> kMaskButtons = {{
    {0x0B, Bit(2, 3)}, {0x43, Bit(2, 0)}, {0x50, Bit(0, 0)}, {0x51, Bit(0, 1)},
    {0x52, Bit(0, 2)}, {0x53, Bit(0, 3)}, {0x54, Bit(0, 4)}, {0x56, Bit(0, 6)},
    {0x55, Bit(0, 5)}, {0x57, Bit(0, 7)}, {0x58, Bit(1, 0)}, {0x59, Bit(1, 1)},
    {0x5A, Bit(1, 2)}, {0x5B, Bit(1, 3)}, {0x5C, Bit(1, 4)}, {0x5D, Bit(1, 5)},
    {0x5E, Bit(1, 6)}, {0x5F, Bit(1, 7)},
}};

const std::array<uint8_t, 49> kMappableButtons = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0E, 0x0F,
    0x16, 0x1A, 0x28, 0x30, 0x31, 0x32, 0x33, 0x34, 0x38, 0x39, 0x40, 0x43, 0x51,
    0x52, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
    0x60, 0x61, 0x63, 0x64, 0x65, 0x70, 0x80, 0x81, 0x82, 0x83,
};

const char* ButtonLogName(uint8_t code) { return kNames.log[code]; }

const char* ButtonName(uint8_t code) {
  const char* n = kNames.plain[code];
  return n ? n : "";
}

uint8_t ButtonForSingleMaskBit(uint32_t bits) {
  for (const MaskButton& b : kMaskButtons)
    if (b.bit == bits) return b.code;
  return kNoButton;
}

bool IsMappableButton(uint8_t code) {
  return code != kButtonSelect && code != kButtonStart && code != kNoButton &&
         kNames.log[code] != nullptr;
}

}  // namespace corvid
