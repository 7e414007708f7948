#include "config/profile_file.h"

namespace corvid {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool ProfileNameEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

ProfileFile::Line ProfileFile::Classify(std::string text) {
  Line line;
  line.text = std::move(text);
  const std::string& t = line.text;
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  if (b == e || t[b] == ';' || t[b] == '#') return line;  // blank or comment
  if (t[b] == '[') {
    const size_t close = t.rfind(']', e - 1);
    if (close != std::string::npos && close > b) {
      size_t nb = b + 1, ne = close;
      while (nb < ne && IsBlank(t[nb])) ++nb;
      while (ne > nb && IsBlank(t[ne - 1])) --ne;
      line.kind = Kind::Section;
      line.name = t.substr(nb, ne - nb);
      return line;
    }
  }
  const size_t eq = t.find('=', b);
  if (eq == std::string::npos || eq >= e) return line;  // kept, never read
  size_t ne = eq;
  while (ne > b && IsBlank(t[ne - 1])) --ne;
  if (ne == b) return line;  // "=value" names no key
  size_t vb = eq + 1;
  while (vb < e && IsBlank(t[vb])) ++vb;
  line.kind = Kind::Key;
  line.name = t.substr(b, ne - b);
  line.valueBegin = vb;
  line.valueEnd = e;
  return line;
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile f;
  if (text.substr(0, 3) == kBom) {
    f.bom_ = true;
    text.remove_prefix(3);
  }
  bool sawCrLf = false, sawLf = false;
  while (!text.empty()) {
    const size_t nl = text.find('\n');
    std::string_view raw = text.substr(0, nl);
    const bool ending = nl != std::string_view::npos;
    if (ending) {
      if (!raw.empty() && raw.back() == '\r') {
        raw.remove_suffix(1);
        sawCrLf = true;
      } else {
        sawLf = true;
      }
    }
    Line line = Classify(std::string(raw));
    line.ending = ending;
    f.lines_.push_back(std::move(line));
    text = ending ? text.substr(nl + 1) : std::string_view{};
  }
  if (sawLf && !sawCrLf) f.eol_ = "\n";
  return f;
}

std::string ProfileFile::Serialize() const {
  std::string out;
  size_t total = bom_ ? 3 : 0;
  for (const Line& l : lines_) total += l.text.size() + eol_.size();
  out.reserve(total);
  if (bom_) out += kBom;
  for (const Line& l : lines_) {
    out += l.text;
    if (l.ending) out += eol_;
  }
  return out;
}

size_t ProfileFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && ProfileNameEquals(lines_[i].name, section)) return i;
  return std::string::npos;
}

size_t ProfileFile::FindKey(size_t sectionLine, std::string_view key) const {
  for (size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
    if (lines_[i].kind == Kind::Key && ProfileNameEquals(lines_[i].name, key)) return i;
  return std::string::npos;
}

bool ProfileFile::Get(std::string_view section, std::string_view key, std::string& value) const {
  const size_t s = FindSection(section);
  if (s == std::string::npos) return false;
  const size_t k = FindKey(s, key);
  if (k == std::string::npos) return false;
  const Line& l = lines_[k];
  std::string_view v(l.text.data() + l.valueBegin, l.valueEnd - l.valueBegin);
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

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  size_t s = FindSection(section);
  if (s == std::string::npos) {
    if (!lines_.empty()) lines_.back().ending = true;
    lines_.push_back(Classify("[" + std::string(section) + "]"));
    s = lines_.size() - 1;
  }
  const size_t k = FindKey(s, key);
  if (k != std::string::npos) {
    // Only the value changes; the key keeps its spelling.
    const bool ending = lines_[k].ending;
    lines_[k] = Classify(lines_[k].name + "=" + std::string(value));
    lines_[k].ending = ending;
    return;
  }
  // At the end of the section: after its last non-blank line.
  size_t end = s + 1;
  while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
  size_t at = end;
  while (at > s + 1 && lines_[at - 1].kind == Kind::Other && lines_[at - 1].text.find_first_not_of(" \t") == std::string::npos)
    --at;
  if (at > 0 && at == lines_.size()) lines_[at - 1].ending = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Classify(std::string(key) + "=" + std::string(value)));
}

void ProfileFile::Delete(std::string_view section, std::string_view key) {
  const size_t s = FindSection(section);
  if (s == std::string::npos) return;
  const size_t k = FindKey(s, key);
  if (k != std::string::npos) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(k));
}

}  // namespace corvid
