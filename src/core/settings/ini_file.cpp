#include "core/settings/ini_file.h"

#include <string_view>
#include <vector>

#include "platform/file_write.h"
#include "platform/files.h"
#include "platform/text.h"

namespace q2 {
namespace {

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

struct Line {
  std::string text;  // without its line end
  std::string eol;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& data) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t nl = data.find('\n', pos);
    if (nl == std::string::npos) {
      lines.push_back({data.substr(pos), ""});
      break;
    }
    const bool crlf = nl > pos && data[nl - 1] == '\r';
    lines.push_back({data.substr(pos, nl - pos - crlf), crlf ? "\r\n" : "\n"});
    pos = nl + 1;
  }
  return lines;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string> SectionOf(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(std::string_view(t).substr(1, close - 1));
}

// Key and value of a "key=value" line.
bool KeyValueOf(const std::string& line, std::string& key, std::string& value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(std::string_view(line).substr(0, eq));
  value = Trim(std::string_view(line).substr(eq + 1));
  return true;
}


// The longest prefix of at most max bytes that ends on a character boundary,
// so that a cut value doesn't end in half a character.
size_t Cp932PrefixLength(const std::string& bytes, size_t max) {
  size_t i = 0;
  while (i < bytes.size()) {
    size_t len = IsCp932Lead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i + len > max) break;
    i += len;
  }
  return i;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Marks a value stored as UTF-8 because code page 932 can't hold it. EF BB
// is no code page 932 character, so no value the Windows program wrote
// starts with it.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsMarkedUtf8(std::string_view raw) {
  return raw.starts_with(kUtf8Mark) && IsValidUtf8(raw.substr(kUtf8Mark.size()));
}

// The stored bytes as far as a read takes them: 259 bytes without a
// half character at the end.
std::string CutStored(const std::string& raw) { return raw.substr(0, Cp932PrefixLength(raw, kIniValueMax)); }

std::string Decode(const std::string& raw) {
  // The same limit in code page 932 bytes, so that a text the dialogs let
  // through comes back whole in either form.
  if (IsMarkedUtf8(raw)) return TruncateToCp932Bytes(std::string_view(raw).substr(kUtf8Mark.size()), kIniValueMax);
  return Cp932ToUtf8(CutStored(raw));
}

std::string Encode(const std::string& value) {
  if (!IsValidUtf8(value)) return value;  // file-system bytes, kept as they are
  // Only an exact round trip: "¥" would come back as "\".
  auto enc = Utf8ToCp932(value);
  if (enc && Cp932ToUtf8(*enc) == value) return *enc;
  return std::string(kUtf8Mark) + value;
}

std::optional<std::string> ReadWholeValue(const std::string& path, const std::string& section,
                                          const std::string& key) {
  std::string data;
  if (ReadSmallFile(path, data) != WholeRead::Ok) return std::nullopt;
  bool inSection = false;
  for (const Line& l : SplitLines(data)) {
    if (auto s = SectionOf(l.text)) {
      inSection = EqualsNoCase(*s, section);
      continue;
    }
    if (!inSection) continue;
    std::string k, v;
    if (!KeyValueOf(l.text, k, v) || !EqualsNoCase(k, key)) continue;
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
      v = v.substr(1, v.size() - 2);
    return v;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> IniReadRaw(const std::string& path, const std::string& section,
                                      const std::string& key) {
  auto v = ReadWholeValue(path, section, key);
  if (v && v->size() > kIniValueMax) v->resize(kIniValueMax);
  return v;
}

std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& def) {
  auto raw = ReadWholeValue(path, section, key);
  return raw ? Decode(*raw) : def;
}

std::string IniReadPath(const std::string& path, const std::string& section, const std::string& key) {
  auto raw = ReadWholeValue(path, section, key);
  if (!raw) return {};
  const std::string text = Decode(*raw);
  if (IsMarkedUtf8(*raw) || IsDirectory(text)) return text;
  const std::string bytes = CutStored(*raw);
  return IsDirectory(bytes) ? bytes : text;
}

int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int def) {
  auto raw = IniReadRaw(path, section, key);
  if (!raw) return def;
  const std::string& v = *raw;
  size_t i = 0;
  bool neg = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) neg = v[i++] == '-';
  long long n = 0;
  while (i < v.size() && v[i] >= '0' && v[i] <= '9') {
    n = n * 10 + (v[i++] - '0');
    if (n > 0xFFFFFFFFLL) break;
  }
  // Values wrap to 32 bits as the Windows function's result does.
  return static_cast<int>(static_cast<uint32_t>(neg ? -n : n));
}

bool IniWriteRaw(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& bytes) {
  // A line break would split the line and could add keys or sections.
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(bytes)) return false;
  std::string data;
  // A file that is there but can't be read whole would lose what it holds.
  if (ReadSmallFile(path, data) == WholeRead::Unreadable) return false;
  std::vector<Line> lines = SplitLines(data);
  std::string eol = "\r\n";
  for (const Line& l : lines)
    if (!l.eol.empty()) {
      eol = l.eol;
      break;
    }
  const std::string keyLine = key + "=" + bytes;

  bool inSection = false;
  long sectionEnd = -1;  // index after the last key line of the section
  bool done = false;
  for (size_t i = 0; i < lines.size() && !done; ++i) {
    if (auto s = SectionOf(lines[i].text)) {
      if (inSection) break;
      inSection = EqualsNoCase(*s, section);
      if (inSection) sectionEnd = static_cast<long>(i) + 1;
      continue;
    }
    if (!inSection) continue;
    std::string k, v;
    if (KeyValueOf(lines[i].text, k, v)) {
      if (EqualsNoCase(k, key)) {
        lines[i].text = keyLine;
        done = true;
      }
      sectionEnd = static_cast<long>(i) + 1;
    }
  }
  if (!done) {
    const bool sectionFound = sectionEnd >= 0;
    const size_t at = sectionFound ? static_cast<size_t>(sectionEnd) : lines.size();
    // Only a line that gets another one after it needs a line end.
    if (at > 0 && lines[at - 1].eol.empty()) lines[at - 1].eol = eol;
    if (sectionFound) {
      lines.insert(lines.begin() + static_cast<long>(at), Line{keyLine, eol});
    } else {
      lines.push_back({"[" + section + "]", eol});
      lines.push_back({keyLine, eol});
    }
  }
  std::string out;
  for (const Line& l : lines) out += l.text + l.eol;

  return out == data || RewriteFile(path, out);
}

bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  return IniWriteRaw(path, section, key, Encode(value));
}

bool IniHoldsWhole(const std::string& value) {
  // As Decode cuts: the stored bytes, or a marked text by its code page 932
  // length.
  return (IsValidUtf8(value) ? Cp932Length(value) : value.size()) <= kIniValueMax;
}

bool IniWriteInt(const std::string& path, const std::string& section, const std::string& key,
                 long long value) {
  return IniWriteRaw(path, section, key, std::to_string(static_cast<int32_t>(value)));
}

}  // namespace q2
