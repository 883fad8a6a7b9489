// The history of rename formats (RENAME_1 … RENAME_100 of the settings
// file), the last confirmed format, and the texts the two insert buttons of
// the rename-format dialog put into a format.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/texts/message.h"

namespace q2 {

inline constexpr int kFormatHistorySlots = 100;

// "RENAME_" + n, n = 1 … 100.
std::string FormatHistoryKey(int n);

// Orders two texts as code page 932 text, character by character: a
// single-byte character by its byte value, a double-byte one by lead × 256
// + trail. Characters without a code page 932 form sort after all others.
int CompareCp932Text(const std::string& a, const std::string& b);

class FormatHistory {
 public:
  // Reads the 100 keys; empty ones are skipped, so gaps close up; then
  // sorts the entries.
  void LoadFormatHistory(const std::string& settingsPath);
  // Adds the format after the last entry unless it is already there or all
  // slots are in use; true when added. The entries are not re-sorted.
  bool AddFormatToHistory(const std::string& format);
  // Removes the entry; the later ones move up.
  void DeleteFormat(int index);
  // Writes all 100 keys, empty slots as empty values.
  void SaveFormatHistory(const std::string& settingsPath) const;

  int count() const { return count_; }
  const std::string& entry(int index) const { return slots_.at(static_cast<size_t>(index)); }

 private:
  std::array<std::string, kFormatHistorySlots> slots_;
  int count_ = 0;
};

// FILE_INFO/LAST_FORMAT, with the default format when missing.
std::string LoadLastFormat(const std::string& settingsPath);
void SaveLastFormat(const std::string& settingsPath, const std::string& format);

// Why the format can't be confirmed: the settings file holds at most 259
// bytes of it, and a cut format would come back as another one. nullopt
// when it fits.
std::optional<Message> CheckFormatLength(const std::string& format);

// Date part ("year (年)" → "[YEAR]"): the last five code page 932 bytes
// dropped, ASCII letters upper-cased, wrapped in brackets unless empty.
std::string DatePartInsertText(const std::string& item);
// Game-data token ("ALL" → "[ALL]"): as above without dropping bytes.
std::string GameTokenInsertText(const std::string& item);

}  // namespace q2
