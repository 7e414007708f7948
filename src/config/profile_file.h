#pragma once
// A Windows profile (INI) file in memory, read the way the system's profile
// functions read it and written so that every line Corvid does not own stays
// where and as it was.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// The system's value buffer is 2,048 bytes, terminator included.
inline constexpr size_t kProfileValueMax = 2047;

class ProfileFile {
 public:
  // Text as UTF-8 (or bytes, for a file in another encoding); a UTF-8
  // byte-order mark is dropped and remembered.
  static ProfileFile Parse(std::string_view text);
  std::string Serialize() const;

  // First section of the name, first key of the name in it; names compare
  // without case. False when the key is missing.
  bool Get(std::string_view section, std::string_view key, std::string& value) const;
  std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) const;
  bool HasKey(std::string_view section, std::string_view key) const { std::string v; return Get(section, key, v); }

  void Set(std::string_view section, std::string_view key, std::string_view value);
  void Delete(std::string_view section, std::string_view key);

  bool HadByteOrderMark() const { return bom_; }
  void SetByteOrderMark(bool on) { bom_ = on; }
  const std::string& LineEnding() const { return eol_; }

 private:
  enum class Kind : unsigned char { Other, Section, Key };
  struct Line {
    std::string text;  // without its line ending
    Kind kind = Kind::Other;
    std::string name;  // section or key name, trimmed
    size_t valueBegin = 0, valueEnd = 0;  // trimmed value inside text
    bool ending = true;                   // had a line ending
  };
  static Line Classify(std::string text);
  // Line index of the first header of `section`, or npos.
  size_t FindSection(std::string_view section) const;
  size_t FindKey(size_t sectionLine, std::string_view key) const;

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";
  bool bom_ = false;
};

// ASCII case-insensitive equality, as the profile functions compare names.
bool ProfileNameEquals(std::string_view a, std::string_view b);

}  // namespace corvid
