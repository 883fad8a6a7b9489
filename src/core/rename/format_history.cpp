#include "core/rename/format_history.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "core/rename/rename_format.h"
#include "core/rename/rename_run.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "core/texts/texts.h"

namespace q2 {
namespace {


void AppendCp932Codes(const std::string& bytes, std::vector<uint32_t>& out) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (IsCp932Lead(b) && i + 1 < bytes.size())
      out.push_back(b * 256u + static_cast<unsigned char>(bytes[++i]));
    else
      out.push_back(b);
  }
}

uint32_t CodePoint(std::string_view ch) {
  const auto lead = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) return lead;
  uint32_t cp = lead & (0x7F >> ch.size());
  for (size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
  return cp;
}

// The character values the comparison walks.
std::vector<uint32_t> SortKey(const std::string& text) {
  std::vector<uint32_t> key;
  if (auto enc = Utf8ToCp932(text)) {
    AppendCp932Codes(*enc, key);
    return key;
  }
  for (size_t i = 0; i < text.size();) {
    size_t len = Utf8CharLength(static_cast<unsigned char>(text[i]));
    if (i + len > text.size()) len = text.size() - i;
    const std::string_view ch(text.data() + i, len);
    if (auto enc = Utf8ToCp932(ch))
      AppendCp932Codes(*enc, key);
    else
      key.push_back(0x10000u + CodePoint(ch));
    i += len;
  }
  return key;
}

int CompareKeys(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

std::string Bracketed(const std::string& s) { return s.empty() ? s : "[" + s + "]"; }

}  // namespace

std::string FormatHistoryKey(int n) { return "RENAME_" + std::to_string(n); }

int CompareCp932Text(const std::string& a, const std::string& b) {
  return CompareKeys(SortKey(a), SortKey(b));
}

void FormatHistory::LoadFormatHistory(const std::string& settingsPath) {
  slots_ = {};
  count_ = 0;
  for (int n = 1; n <= kFormatHistorySlots; ++n) {
    std::string v = IniReadString(settingsPath, kSectionFile, FormatHistoryKey(n));
    if (!v.empty()) slots_[static_cast<size_t>(count_++)] = std::move(v);
  }
  // Selection sort: the first of equal entries wins each position.
  std::vector<std::vector<uint32_t>> keys;
  for (int i = 0; i < count_; ++i) keys.push_back(SortKey(slots_[static_cast<size_t>(i)]));
  for (int pos = 0; pos + 1 < count_; ++pos) {
    int min = pos;
    for (int k = pos + 1; k < count_; ++k)
      if (CompareKeys(keys[static_cast<size_t>(k)], keys[static_cast<size_t>(min)]) < 0) min = k;
    if (min != pos) {
      std::swap(slots_[static_cast<size_t>(pos)], slots_[static_cast<size_t>(min)]);
      std::swap(keys[static_cast<size_t>(pos)], keys[static_cast<size_t>(min)]);
    }
  }
}

bool FormatHistory::AddFormatToHistory(const std::string& format) {
  for (int i = 0; i < count_; ++i)
    if (slots_[static_cast<size_t>(i)] == format) return false;
  if (count_ >= kFormatHistorySlots) return false;
  slots_[static_cast<size_t>(count_++)] = format;
  return true;
}

void FormatHistory::DeleteFormat(int index) {
  if (index < 0 || index >= count_) return;
  for (int i = index; i + 1 < count_; ++i)
    slots_[static_cast<size_t>(i)] = std::move(slots_[static_cast<size_t>(i + 1)]);
  slots_[static_cast<size_t>(--count_)].clear();
}

void FormatHistory::SaveFormatHistory(const std::string& settingsPath) const {
  for (int n = 1; n <= kFormatHistorySlots; ++n)
    IniWriteString(settingsPath, kSectionFile, FormatHistoryKey(n), slots_[static_cast<size_t>(n - 1)]);
}

std::string LoadLastFormat(const std::string& settingsPath) {
  return IniReadString(settingsPath, kSectionFile, kKeyLastFormat, kDefaultRenameFormat);
}

void SaveLastFormat(const std::string& settingsPath, const std::string& format) {
  IniWriteString(settingsPath, kSectionFile, kKeyLastFormat, format);
}

std::optional<Message> CheckFormatLength(const std::string& format) {
  if (IniHoldsWhole(format)) return std::nullopt;
  return Message{kMsgFormatTooLong, kCaptionFormatError,
                 MsgIcon::Exclamation};
}

std::string DatePartInsertText(const std::string& item) {
  const size_t len = Cp932Length(item);
  return Bracketed(UpperAscii(len <= 5 ? std::string() : TruncateToCp932Bytes(item, len - 5)));
}

std::string GameTokenInsertText(const std::string& item) { return Bracketed(UpperAscii(item)); }

}  // namespace q2
