#pragma once
// A Windows profile (INI) file in memory, read the way the system's profile
// functions read it and written so that every line Corvid does not own stays
// where and as it was, its line ending included.
//
// The text is held once; a line is a span of it, and a run of lines that are
// neither sections nor keys is one span, so a file of a million blank lines
// costs what its bytes cost.
#include <cstddef>
#include <cstdint>
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
  // Whether the file holds any key at all.
  bool HasKeys() const { return keyCount_ > 0; }

  void Set(std::string_view section, std::string_view key, std::string_view value);
  void Delete(std::string_view section, std::string_view key);

  bool HadByteOrderMark() const { return bom_; }
  void SetByteOrderMark(bool on) { bom_ = on; }
  const std::string& LineEnding() const { return eol_; }
  // Heap bytes held, for the benchmarks.
  size_t MemoryBytes() const;

 private:
  enum class Kind : uint8_t { Other, Section, Key };
  // A span of text_: one section or key line, or a run of other lines. The
  // ending bytes follow the text in text_.
  struct Line {
    uint32_t begin = 0, length = 0;
    uint32_t nameBegin = 0, nameLength = 0;
    uint32_t valueBegin = 0, valueLength = 0;
    uint8_t ending = 0;  // bytes of its line ending: 0 (none), 1 or 2
    Kind kind = Kind::Other;
    bool deleted = false;
  };
  // A section header and the lines up to the next one; the lines before the
  // first header form a section without a header.
  struct Section {
    std::vector<Line> lines;  // lines[0] is the header, if any
    std::unordered_map<uint64_t, uint32_t> keys;  // name hash -> first line of that name
  };

  Line Classify(uint32_t begin, uint32_t length) const;
  // A line written anew: its text appended to text_.
  Line NewLine(std::string_view text, std::string_view ending);
  std::string_view Text(const Line& l) const { return {text_.data() + l.begin, l.length}; }
  std::string_view Name(const Line& l) const { return {text_.data() + l.nameBegin, l.nameLength}; }
  static uint64_t Hash(std::string_view name);
  void AddLine(const Line& line);
  const Line* FindKeyLine(std::string_view section, std::string_view key) const;
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  int64_t FindKey(const Section& sec, std::string_view key) const;
  Line* LastLine();
  void EnsureEnding(Line& l);
  size_t SplitTrailingBlanks(Section& sec);

  std::string text_;
  std::vector<Section> sections_;
  std::unordered_map<uint64_t, uint32_t> sectionIndex_;  // name hash -> first section of that name
  std::string eol_ = "\r\n";
  size_t keyCount_ = 0;
  bool bom_ = false;
};

// ASCII case-insensitive equality, as the profile functions compare names.
bool ProfileNameEquals(std::string_view a, std::string_view b);

}  // namespace corvid
