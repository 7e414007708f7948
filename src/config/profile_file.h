#pragma once
// A Windows profile (INI) file in memory, read the way the system's profile
// functions read it and written so that every line Corvid does not own stays
// where and as it was.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
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
    bool deleted = false;
  };
  // A section header and the lines up to the next one; the lines before the
  // first header form a section without a header.
  struct Section {
    std::vector<Line> lines;  // lines[0] is the header, if any
    std::unordered_map<std::string, size_t> keys;  // lower-case name -> first line
  };
  static Line Classify(std::string text);
  static std::string Folded(std::string_view name);
  void AddLine(Line line);
  const Line* FindKeyLine(std::string_view section, std::string_view key) const;
  Line* LastLine();

  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name -> first section
  std::string eol_ = "\r\n";
  bool bom_ = false;
};

// ASCII case-insensitive equality, as the profile functions compare names.
bool ProfileNameEquals(std::string_view a, std::string_view b);

}  // namespace corvid
