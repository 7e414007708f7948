#include "config/profile_file.h"

#include <algorithm>

#include "base/ascii.h"

namespace corvid {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// Offsets are 32-bit; the settings loader refuses files long before this.
constexpr size_t kMaxText = size_t(1) << 30;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool AllBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return IsBlank(c); });
}

// Length of the line ending at `at` (CR LF, LF or a lone CR), 0 for none.
size_t EndingAt(std::string_view text, size_t at) {
  if (at >= text.size()) return 0;
  if (text[at] == '\r') return (at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
  return text[at] == '\n' ? 1 : 0;
}

}  // namespace

bool ProfileNameEquals(std::string_view a, std::string_view b) { return EqualsIgnoringCase(a, b); }

uint64_t ProfileFile::Hash(std::string_view name) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a over the folded name
  for (char c : name) {
    h ^= static_cast<unsigned char>(LowerAscii(c));
    h *= 1099511628211ull;
  }
  return h;
}

ProfileFile::Line ProfileFile::Classify(uint32_t begin, uint32_t length) const {
  Line line;
  line.begin = begin;
  line.length = length;
  const std::string_view t(text_.data() + begin, length);
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  // Comment lines are not special to the system's reader either: one with
  // an "=" is a key (of a name Corvid never asks for).
  if (b == e) return line;
  if (t[b] == '[') {
    const size_t close = t.rfind(']', e - 1);
    if (close != std::string_view::npos && close > b) {
      size_t nb = b + 1, ne = close;
      while (nb < ne && IsBlank(t[nb])) ++nb;
      while (ne > nb && IsBlank(t[ne - 1])) --ne;
      line.kind = Kind::Section;
      line.nameBegin = static_cast<uint32_t>(begin + nb);
      line.nameLength = static_cast<uint32_t>(ne - nb);
      return line;
    }
  }
  const size_t eq = t.find('=', b);
  if (eq == std::string_view::npos || eq >= e) return line;  // kept, never read
  size_t ne = eq;
  while (ne > b && IsBlank(t[ne - 1])) --ne;
  if (ne == b) return line;  // "=value" names no key
  size_t vb = eq + 1;
  while (vb < e && IsBlank(t[vb])) ++vb;
  line.kind = Kind::Key;
  line.nameBegin = static_cast<uint32_t>(begin + b);
  line.nameLength = static_cast<uint32_t>(ne - b);
  line.valueBegin = static_cast<uint32_t>(begin + vb);
  line.valueLength = static_cast<uint32_t>(e - vb);
  return line;
}

ProfileFile::Line ProfileFile::NewLine(std::string_view text, std::string_view ending) {
  const std::string copy(text);  // `text` may point into text_, which grows
  const auto begin = static_cast<uint32_t>(text_.size());
  text_ += copy;
  text_ += ending;
  Line l = Classify(begin, static_cast<uint32_t>(copy.size()));
  l.ending = static_cast<uint8_t>(ending.size());
  return l;
}

void ProfileFile::AddLine(const Line& line) {
  if (line.kind == Kind::Section || sections_.empty()) {
    sections_.emplace_back();
    if (line.kind == Kind::Section)
      sectionIndex_.emplace(Hash(Name(line)), static_cast<uint32_t>(sections_.size() - 1));
  }
  Section& s = sections_.back();
  if (line.kind == Kind::Other && !s.lines.empty()) {
    // A run of other lines is one span.
    Line& prev = s.lines.back();
    if (prev.kind == Kind::Other && !prev.deleted && prev.begin + prev.length + prev.ending == line.begin) {
      prev.length += prev.ending + line.length;
      prev.ending = line.ending;
      return;
    }
  }
  if (line.kind == Kind::Key) {
    ++keyCount_;
    s.keys.emplace(Hash(Name(line)), static_cast<uint32_t>(s.lines.size()));
  }
  s.lines.push_back(line);
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile f;
  if (text.substr(0, 3) == kBom) {
    f.bom_ = true;
    text.remove_prefix(3);
  }
  if (text.size() > kMaxText) text = text.substr(0, kMaxText);
  f.text_.assign(text);
  bool sawCrLf = false, sawLf = false;
  size_t pos = 0;
  while (pos < f.text_.size()) {
    // A line ends at CR LF, LF or a lone CR, as the system's reader ends it.
    size_t at = f.text_.find_first_of("\r\n", pos);
    if (at == std::string::npos) at = f.text_.size();
    const size_t ending = EndingAt(f.text_, at);
    if (ending == 2) sawCrLf = true;
    if (ending == 1 && f.text_[at] == '\n') sawLf = true;
    Line line = f.Classify(static_cast<uint32_t>(pos), static_cast<uint32_t>(at - pos));
    line.ending = static_cast<uint8_t>(ending);
    f.AddLine(line);
    pos = at + ending;
  }
  if (sawLf && !sawCrLf) f.eol_ = "\n";
  return f;
}

std::string ProfileFile::Serialize() const {
  size_t total = bom_ ? 3 : 0;
  for (const Section& s : sections_)
    for (const Line& l : s.lines)
      if (!l.deleted) total += l.length + l.ending;
  std::string out;
  out.reserve(total);
  if (bom_) out += kBom;
  for (const Section& s : sections_)
    for (const Line& l : s.lines)
      if (!l.deleted) out.append(text_, l.begin, l.length + l.ending);
  return out;
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const {
  auto it = sectionIndex_.find(Hash(name));
  if (it == sectionIndex_.end()) return nullptr;
  const Section& s = sections_[it->second];
  if (ProfileNameEquals(Name(s.lines[0]), name)) return &s;
  // Two names with one hash: the first section of this name, the long way.
  for (const Section& other : sections_)
    if (!other.lines.empty() && other.lines[0].kind == Kind::Section && ProfileNameEquals(Name(other.lines[0]), name))
      return &other;
  return nullptr;
}

ProfileFile::Section* ProfileFile::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const ProfileFile*>(this)->FindSection(name));
}

int64_t ProfileFile::FindKey(const Section& sec, std::string_view key) const {
  auto it = sec.keys.find(Hash(key));
  if (it == sec.keys.end()) return -1;
  if (ProfileNameEquals(Name(sec.lines[it->second]), key)) return it->second;
  for (size_t i = 0; i < sec.lines.size(); ++i)
    if (sec.lines[i].kind == Kind::Key && ProfileNameEquals(Name(sec.lines[i]), key)) return static_cast<int64_t>(i);
  return -1;
}

const ProfileFile::Line* ProfileFile::FindKeyLine(std::string_view section, std::string_view key) const {
  const Section* sec = FindSection(section);
  if (!sec) return nullptr;
  const int64_t k = FindKey(*sec, key);
  return k < 0 ? nullptr : &sec->lines[static_cast<size_t>(k)];
}

bool ProfileFile::Get(std::string_view section, std::string_view key, std::string& value) const {
  const Line* l = FindKeyLine(section, key);
  if (!l) return false;
  std::string_view v(text_.data() + l->valueBegin, l->valueLength);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  if (v.size() > kProfileValueMax) v = v.substr(0, kProfileValueMax);
  value.assign(v);
  return true;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
  std::string v;
  if (!Get(section, key, v)) v.assign(fallback.substr(0, kProfileValueMax));
  return v;
}

ProfileFile::Line* ProfileFile::LastLine() {
  for (auto s = sections_.rbegin(); s != sections_.rend(); ++s)
    for (auto l = s->lines.rbegin(); l != s->lines.rend(); ++l)
      if (!l->deleted) return &*l;
  return nullptr;
}

void ProfileFile::EnsureEnding(Line& l) {
  if (l.ending != 0) return;
  // The ending must follow the text: the line moves to the end of the buffer.
  const Kind kind = l.kind;
  Line moved = NewLine(Text(l), eol_);
  if (kind == Kind::Other) {
    // A run of other lines stays one, whatever its text looks like whole.
    moved.kind = Kind::Other;
    moved.nameLength = moved.valueLength = 0;
  }
  l = moved;
}

size_t ProfileFile::SplitTrailingBlanks(Section& sec) {
  // After the section's last line that is not blank.
  size_t at = sec.lines.size();
  while (at > 1 && sec.lines[at - 1].kind == Kind::Other &&
         (sec.lines[at - 1].deleted || Text(sec.lines[at - 1]).find_first_not_of(" \t\r\n") == std::string_view::npos))
    --at;
  if (at == 0) return at;
  Line& run = sec.lines[at - 1];
  if (run.kind != Kind::Other || run.deleted) return at;
  // A run of other lines that ends in blank ones: the blank tail becomes a
  // span of its own, after which the new key goes.
  const std::string_view t = Text(run);
  size_t lineStart = 0, tailStart = std::string_view::npos;
  while (lineStart <= t.size()) {
    size_t end = t.find_first_of("\r\n", lineStart);
    if (end == std::string_view::npos) end = t.size();
    const bool blank = AllBlank(t.substr(lineStart, end - lineStart));
    if (!blank) tailStart = std::string_view::npos;
    else if (tailStart == std::string_view::npos) tailStart = lineStart;
    if (end == t.size()) break;
    lineStart = end + EndingAt(t, end);
  }
  if (tailStart == std::string_view::npos || tailStart == 0) return at;
  const size_t endingBefore = (tailStart >= 2 && t[tailStart - 2] == '\r' && t[tailStart - 1] == '\n') ? 2 : 1;
  Line tail = run;
  tail.begin = run.begin + static_cast<uint32_t>(tailStart);
  tail.length = run.length - static_cast<uint32_t>(tailStart);
  run.length = static_cast<uint32_t>(tailStart - endingBefore);
  run.ending = static_cast<uint8_t>(endingBefore);
  sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), tail);
  return at;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  Section* sec = FindSection(section);
  if (!sec) {
    if (Line* last = LastLine()) EnsureEnding(*last);
    const Line header = NewLine("[" + std::string(section) + "]", eol_);
    sections_.emplace_back();
    sections_.back().lines.push_back(header);
    sectionIndex_.emplace(Hash(section), static_cast<uint32_t>(sections_.size() - 1));
    sec = &sections_.back();
  }
  const int64_t k = FindKey(*sec, key);
  if (k >= 0) {
    // Only the value changes; the key keeps its spelling and its ending.
    Line& l = sec->lines[static_cast<size_t>(k)];
    const std::string ending(text_.data() + l.begin + l.length, l.ending);
    const std::string text = std::string(Name(l)) + "=" + std::string(value);
    l = NewLine(text, ending);
    return;
  }
  const size_t at = SplitTrailingBlanks(*sec);
  // Whatever stands before the new line ends with a line ending.
  bool laterLines = false;
  for (size_t i = at; i < sec->lines.size() && !laterLines; ++i) laterLines = !sec->lines[i].deleted;
  for (const Section* s = sec + 1; s < sections_.data() + sections_.size() && !laterLines; ++s)
    for (const Line& l : s->lines) laterLines = laterLines || !l.deleted;
  if (!laterLines)
    if (Line* last = LastLine()) EnsureEnding(*last);
  const Line line = NewLine(std::string(key) + "=" + std::string(value), eol_);
  // Only blank or deleted lines follow `at`, so no key index moves.
  sec->lines.insert(sec->lines.begin() + static_cast<std::ptrdiff_t>(at), line);
  sec->keys.emplace(Hash(key), static_cast<uint32_t>(at));
  ++keyCount_;
}

void ProfileFile::Delete(std::string_view section, std::string_view key) {
  Section* sec = FindSection(section);
  if (!sec) return;
  const int64_t k = FindKey(*sec, key);
  if (k < 0) return;
  Line& l = sec->lines[static_cast<size_t>(k)];
  l.deleted = true;
  l.kind = Kind::Other;
  --keyCount_;
  auto it = sec->keys.find(Hash(key));
  if (it != sec->keys.end() && it->second == static_cast<uint32_t>(k)) sec->keys.erase(it);
  // A later line of the same name goes too: it would become the one that is
  // read, and a save that deletes a key must not bring back another value.
  for (Line& other : sec->lines)
    if (other.kind == Kind::Key && ProfileNameEquals(Name(other), key)) {
      other.deleted = true;
      other.kind = Kind::Other;
      --keyCount_;
    }
}

size_t ProfileFile::MemoryBytes() const {
  size_t bytes = text_.capacity() + sections_.capacity() * sizeof(Section);
  constexpr size_t kNode = 40;  // an index entry with its bucket, roughly
  for (const Section& s : sections_) bytes += s.lines.capacity() * sizeof(Line) + s.keys.size() * kNode;
  return bytes + sectionIndex_.size() * kNode;
}

}  // namespace corvid
