#include "core/rename/default_name.h"

#include <cstdio>
#include <vector>

#include "platform/text.h"

namespace q2 {
namespace {

// One character of a name: its UTF-8 bytes and where its code page 932
// form starts and ends.
struct Char {
  std::string_view utf8;
  size_t begin = 0, end = 0;
};

std::vector<std::string_view> SplitChars(std::string_view s) {
  std::vector<std::string_view> out;
  for (size_t i = 0; i < s.size();) {
    size_t len = Utf8CharLength(static_cast<unsigned char>(s[i]));
    if (i + len > s.size()) len = s.size() - i;
    out.push_back(s.substr(i, len));
    i += len;
  }
  return out;
}

bool SameChar(std::string_view a, std::string_view b) {
  if (a.size() == 1 && b.size() == 1) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
    return fold(a[0]) == fold(b[0]);
  }
  return a == b;
}

std::string Piece(const std::vector<Char>& chars, size_t from, size_t width) {
  // A character cut by the piece's edge is left out rather than split.
  std::string out;
  for (const Char& c : chars)
    if (c.begin >= from && c.end <= from + width) out += c.utf8;
  return out;
}

std::string Format(const char* fmt, unsigned value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, value);
  return buf;
}

}  // namespace

bool MatchesFileSearchPattern(std::string_view name, std::string_view pattern) {
  const auto n = SplitChars(name);
  const auto p = SplitChars(pattern);
  size_t i = 0, j = 0;
  size_t starP = std::string::npos, starN = 0;
  while (i < n.size()) {
    if (j < p.size() && p[j] == "*") {
      starP = j++;
      starN = i;
    } else if (j < p.size() && (p[j] == "?" || SameChar(p[j], n[i]))) {
      ++i;
      ++j;
    } else if (starP != std::string::npos) {
      j = starP + 1;
      i = ++starN;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == "*") ++j;
  return j == p.size();
}

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// 1 … 12 for an English month abbreviation, else 0.
int MonthNumber(std::string_view m) {
  for (int i = 0; i < 12; ++i)
    if (m == kMonths[i]) return i + 1;
  return 0;
}

// The layout as a template: "9" a digit, "M" the three letters of a month,
// anything else itself; the extension's letters without regard to case.
bool FitsLayout(std::string_view name, std::string_view layout, std::string_view extension) {
  if (name.size() != layout.size() + extension.size()) return false;
  for (size_t i = 0; i < layout.size(); ++i) {
    const char c = name[i];
    if (layout[i] == '9') {
      if (c < '0' || c > '9') return false;
    } else if (layout[i] == 'M') {
      if (!MonthNumber(name.substr(i, 3))) return false;
      i += 2;
    } else if (c != layout[i]) {
      return false;
    }
  }
  for (size_t i = 0; i < extension.size(); ++i) {
    char c = name[layout.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != extension[i]) return false;
  }
  return true;
}

const std::string kEnglishLayout = std::string(DefaultNamePrefixEnglish) + "99-MMM-9999 99`99`99";
const std::string kUserPatchLayout = std::string(DefaultNamePrefixUserPatch) + "99999999-999999";

}  // namespace

std::optional<DefaultNameKind> DefaultNameKindOf(std::string_view fileName) {
  if (MatchesFileSearchPattern(fileName, DefaultNamePattern)) return DefaultNameKind::Japanese;
  if (FitsLayout(fileName, kEnglishLayout, ".mgx")) return DefaultNameKind::English;
  if (FitsLayout(fileName, kUserPatchLayout, ".mgz")) return DefaultNameKind::UserPatch;
  return std::nullopt;
}

bool IsDefaultRecordingName(std::string_view fileName) { return DefaultNameKindOf(fileName).has_value(); }

bool HasDefaultNamePrefix(std::string_view fileName) {
  return fileName.starts_with(DefaultNamePrefix);
}

bool TakesDateFromName(std::string_view fileName) {
  return HasDefaultNamePrefix(fileName) || IsDefaultRecordingName(fileName);
}

DateFields ReadDefaultNameDate(const std::string& recordingPath) {
  const std::string name = DisplayFileName(FileNameOf(recordingPath));
  const auto kind = DefaultNameKindOf(name);
  if (kind == DefaultNameKind::English) {
    const std::string_view f = std::string_view(name).substr(std::string_view(DefaultNamePrefixEnglish).size());
    DateFields d;
    d.day = std::string(f.substr(0, 2));
    d.month = Format("%02u", static_cast<unsigned>(MonthNumber(f.substr(3, 3))));
    d.year = std::string(f.substr(7, 4));
    d.hour = std::string(f.substr(12, 2));
    d.minute = std::string(f.substr(15, 2));
    d.second = std::string(f.substr(18, 2));
    return d;
  }
  if (kind == DefaultNameKind::UserPatch) {
    const std::string_view f = std::string_view(name).substr(std::string_view(DefaultNamePrefixUserPatch).size());
    DateFields d;
    d.year = std::string(f.substr(0, 4));
    d.month = std::string(f.substr(4, 2));
    d.day = std::string(f.substr(6, 2));
    d.hour = std::string(f.substr(9, 2));
    d.minute = std::string(f.substr(11, 2));
    d.second = std::string(f.substr(13, 2));
    return d;
  }
  const size_t prefixBytes = Cp932Length(DefaultNamePrefix);
  std::vector<Char> rest;  // positions relative to the first byte after the prefix
  size_t at = 0;
  for (std::string_view c : SplitChars(name)) {
    const size_t len = Cp932Length(c);
    if (at >= prefixBytes) rest.push_back({c, at - prefixBytes, at - prefixBytes + len});
    at += len;
  }
  bool shortForm = false;
  for (const Char& c : rest)
    if (c.begin == 4) shortForm = c.utf8 == "-";
  const size_t s = shortForm ? 1 : 0;
  DateFields d;
  d.day = Piece(rest, 0, 2);
  d.month = Piece(rest, 3, 2 - s);
  if (shortForm) d.month = "0" + d.month;
  d.year = Piece(rest, 6 - s, 4);
  d.hour = Piece(rest, 11 - s, 2);
  d.minute = Piece(rest, 14 - s, 2);
  d.second = Piece(rest, 17 - s, 2);
  return d;
}

DateFields DateFieldsOf(const LocalTime& t) {
  DateFields d;
  d.year = Format("%04u", static_cast<unsigned>(t.year));
  d.month = Format("%02u", static_cast<unsigned>(t.month));
  d.day = Format("%02u", static_cast<unsigned>(t.day));
  d.hour = Format("%02u", static_cast<unsigned>(t.hour));
  d.minute = Format("%02u", static_cast<unsigned>(t.minute));
  d.second = Format("%02u", static_cast<unsigned>(t.second));
  return d;
}

DateFields ReadFileTimeDate(const std::string& recordingPath) {
  auto t = FileLocalTime(recordingPath);
  return t ? DateFieldsOf(*t) : DateFields{};
}

DateFields ReadDate(const std::string& recordingPath, DateSource source) {
  return source == DateSource::FromDefaultName ? ReadDefaultNameDate(recordingPath)
                                               : ReadFileTimeDate(recordingPath);
}

}  // namespace q2
