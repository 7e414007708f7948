// Reads a set of awkward INI files with the system's GetPrivateProfileStringA
// and with Corvid's own reader, and checks that both return the same text for
// every section and key the system lists, and for names probed on purpose
// (other case, names that only appear in comments, missing ones).
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "config/profile_file.h"
#include "win32/wine_check_win32.h"

namespace {

const char kMissing[] = "\x01missing";

struct Case {
  const char* name;
  std::string text;
  std::vector<std::pair<std::string, std::string>> probes;  // section, key
};

// Names separated by NULs, ended by an empty name.
std::vector<std::string> SplitNulList(const std::vector<char>& buf, DWORD len) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < len && buf[i] != '\0') {
    std::string s(&buf[i]);
    i += s.size() + 1;
    out.push_back(s);
  }
  return out;
}

std::vector<std::string> SystemSections(const std::string& path) {
  std::vector<char> buf(65536);
  DWORD n = GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
  return SplitNulList(buf, n);
}

std::vector<std::string> SystemKeys(const std::string& path, const std::string& section) {
  std::vector<char> buf(65536);
  DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buf.data(),
                                     static_cast<DWORD>(buf.size()), path.c_str());
  return SplitNulList(buf, n);
}

std::string SystemValue(const std::string& path, const std::string& section, const std::string& key) {
  std::vector<char> buf(corvid::kProfileValueMax + 1);
  GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buf.data(),
                           static_cast<DWORD>(buf.size()), path.c_str());
  return std::string(buf.data());
}

int Compare(const std::string& folder, const Case& c) {
  const std::string path = folder + "\\" + c.name + ".ini";
  {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << c.text;
  }
  const corvid::ProfileFile ours = corvid::ProfileFile::Parse(c.text);

  std::vector<std::pair<std::string, std::string>> pairs = c.probes;
  for (const std::string& s : SystemSections(path))
    for (const std::string& k : SystemKeys(path, s)) pairs.emplace_back(s, k);

  int compared = 0;
  for (const auto& [section, key] : pairs) {
    const std::string expected = SystemValue(path, section, key);
    std::string got;
    if (!ours.Get(section, key, got)) got = kMissing;
    if (got != expected) {
      wine_check::Fail(__FILE__, __LINE__,
                       std::string(c.name) + ": [" + section + "] " + key + ": system \"" +
                           expected + "\", ours \"" + got + "\"");
    }
    ++compared;
  }
  std::printf("%s: %d keys compared\n", c.name, compared);
  return compared;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: profile_compare_test_win32 Corvid.exe SOURCE_DIR BUILD_DIR\n");
    return 2;
  }
  std::string folder = std::string("Z:") + argv[3] + "\\profile-compare";
  for (char& ch : folder) if (ch == '/') ch = '\\';
  CreateDirectoryA(folder.c_str(), nullptr);

  const std::string longValue(3000, 'x');
  const std::vector<Case> cases = {
      {"duplicates",
       "[Main]\r\nKey=first\r\nkey=second\r\nKEY=third\r\n[main]\r\nKey=other\r\nOnly=later\r\n"
       "[Main]\r\nMore=x\r\n",
       {{"MAIN", "key"}, {"main", "Only"}, {"Main", "More"}}},
      {"quotes",
       "[Q]\r\ndouble=\"quoted value\"\r\nsingle='single'\r\nmixed=\"mixed'\r\nhalf=\"open\r\n"
       "inner=a\"b\"c\r\nspaced=  \" padded \"  \r\nempty=\"\"\r\nlone=\"\r\ntwice=\"\"x\"\"\r\n",
       {}},
      {"blanks",
       "  [ Spaced ]  \r\n  key one  =  value one  \r\n\tTabbed\t=\tvalue\t\r\nnoequals line\r\n"
       "=no name\r\nempty=\r\n   \r\n[Next]\r\nk = v = w\r\n",
       {{"Spaced", "key one"}, {"Spaced", "noequals line"}, {"Next", "k"}}},
      {"odd_case",
       "[KeyBoard]\r\nItems-0-1=0,0,0,0,0,0,1\r\nITEMS-0-2=2\r\n[keyboard]\r\nitems-0-1=lost\r\n",
       {{"KEYBOARD", "items-0-1"}, {"keyBOARD", "Items-0-2"}}},
      {"no_final_ending", "[A]\nlf=only\n[B]\nlast=line without ending", {{"B", "last"}}},
      {"lone_cr", "[R]\r\nk=v\rx=2\r\nlast=end\r", {{"R", "k"}, {"R", "x"}, {"R", "last"}}},
      {"long_value", "[L]\r\nlong=" + longValue + "\r\nafter=ok\r\n", {{"L", "long"}}},
      {"comments",
       "; leading comment\r\n[C]\r\n;commented=1\r\nreal=2\r\n# hash=3\r\n  ; indented=4\r\n",
       {{"C", ";commented"}, {"C", "commented"}, {"C", "real"}, {"C", "indented"}, {"C", "; indented"}, {"C", "# hash"}}},
      {"before_first_section", "orphan=1\r\n[S]\r\nk=v\r\n", {{"S", "orphan"}, {"S", "k"}}},
      {"bom", "\xEF\xBB\xBF[Bom]\r\nk=v\r\n", {{"Bom", "k"}}},
      {"missing", "[Here]\r\nk=v\r\n", {{"Here", "absent"}, {"Absent", "k"}}},
  };

  int total = 0;
  for (const Case& c : cases) total += Compare(folder, c);
  WCHECK(total > 40);
  return WineCheckResult("profile_compare_test_win32");
}
