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
  // Comment lines are not special to the system's reader either: one with
  // an "=" is a key (of a name Corvid never asks for).
  if (b == e) return line;
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

std::string ProfileFile::Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = Lower(c);
  return out;
}

void ProfileFile::AddLine(Line line) {
  if (line.kind == Kind::Section || sections_.empty()) {
    sections_.emplace_back();
    if (line.kind == Kind::Section) sectionIndex_.emplace(Folded(line.name), sections_.size() - 1);
  }
  Section& s = sections_.back();
  if (line.kind == Kind::Key) s.keys.emplace(Folded(line.name), s.lines.size());
  s.lines.push_back(std::move(line));
}

ProfileFile::Line* ProfileFile::LastLine() {
  for (auto s = sections_.rbegin(); s != sections_.rend(); ++s)
    for (auto l = s->lines.rbegin(); l != s->lines.rend(); ++l)
      if (!l->deleted) return &*l;
  return nullptr;
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile f;
  if (text.substr(0, 3) == kBom) {
    f.bom_ = true;
    text.remove_prefix(3);
  }
  bool sawCrLf = false, sawLf = false;
  while (!text.empty()) {
    // A line ends at CR LF, LF or a lone CR, as the system's reader ends it.
    const size_t at = text.find_first_of("\r\n");
    const std::string_view raw = text.substr(0, at);
    const bool ending = at != std::string_view::npos;
    size_t next = text.size();
    if (ending) {
      const bool crLf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
      if (crLf) sawCrLf = true;
      if (text[at] == '\n') sawLf = true;
      next = at + (crLf ? 2 : 1);
    }
    Line line = Classify(std::string(raw));
    line.ending = ending;
    f.AddLine(std::move(line));
    text.remove_prefix(next);
  }
  if (sawLf && !sawCrLf) f.eol_ = "\n";
  return f;
}

std::string ProfileFile::Serialize() const {
  std::string out;
  size_t total = bom_ ? 3 : 0;
  for (const Section& s : sections_)
    for (const Line& l : s.lines) total += l.text.size() + eol_.size();
  out.reserve(total);
  if (bom_) out += kBom;
  for (const Section& s : sections_)
    for (const Line& l : s.lines) {
      if (l.deleted) continue;
      out += l.text;
      if (l.ending) out += eol_;
    }
  return out;
}

const ProfileFile::Line* ProfileFile::FindKeyLine(std::string_view section, std::string_view key) const {
  auto s = sectionIndex_.find(Folded(section));
  if (s == sectionIndex_.end()) return nullptr;
  const Section& sec = sections_[s->second];
  auto k = sec.keys.find(Folded(key));
  if (k == sec.keys.end()) return nullptr;
  return &sec.lines[k->second];
}

bool ProfileFile::Get(std::string_view section, std::string_view key, std::string& value) const {
  const Line* l = FindKeyLine(section, key);
  if (!l) return false;
  std::string_view v(l->text.data() + l->valueBegin, l->valueEnd - l->valueBegin);
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
  std::string folded = Folded(section);
  auto si = sectionIndex_.find(folded);
  if (si == sectionIndex_.end()) {
    if (Line* last = LastLine()) last->ending = true;
    sections_.emplace_back();
    sections_.back().lines.push_back(Classify("[" + std::string(section) + "]"));
    si = sectionIndex_.emplace(std::move(folded), sections_.size() - 1).first;
  }
  Section& sec = sections_[si->second];
  std::string foldedKey = Folded(key);
  auto k = sec.keys.find(foldedKey);
  if (k != sec.keys.end()) {
    // Only the value changes; the key keeps its spelling.
    Line& l = sec.lines[k->second];
    const bool ending = l.ending;
    l = Classify(l.name + "=" + std::string(value));
    l.ending = ending;
    return;
  }
  // At the end of the section: after its last line that is not blank.
  size_t at = sec.lines.size();
  while (at > 1 && sec.lines[at - 1].kind == Kind::Other &&
         (sec.lines[at - 1].deleted || sec.lines[at - 1].text.find_first_not_of(" \t") == std::string::npos))
    --at;
  if (at == sec.lines.size() && &sec == &sections_.back())
    if (Line* last = LastLine()) last->ending = true;
  // Only blank lines follow `at`, so no key index moves.
  sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), Classify(std::string(key) + "=" + std::string(value)));
  sec.keys.emplace(std::move(foldedKey), at);
}

void ProfileFile::Delete(std::string_view section, std::string_view key) {
  auto si = sectionIndex_.find(Folded(section));
  if (si == sectionIndex_.end()) return;
  Section& sec = sections_[si->second];
  std::string foldedKey = Folded(key);
  auto k = sec.keys.find(foldedKey);
  if (k == sec.keys.end()) return;
  sec.lines[k->second].deleted = true;
  sec.lines[k->second].kind = Kind::Other;
  sec.keys.erase(k);
  // A later duplicate of the key becomes the one that is read.
  for (size_t i = 0; i < sec.lines.size(); ++i)
    if (sec.lines[i].kind == Kind::Key && ProfileNameEquals(sec.lines[i].name, key)) {
      sec.keys.emplace(std::move(foldedKey), i);
      break;
    }
}

}  // namespace corvid
