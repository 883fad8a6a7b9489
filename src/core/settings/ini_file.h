// Reading and writing INI files the way the Windows private-profile
// functions do: section and key names match without regard to case, a
// missing file, section or key reads as absent, and a write creates what is
// missing and keeps every other line of the file as it was.
#pragma once

#include <optional>
#include <string>

namespace q2 {

// Longest value a read returns, in stored bytes.
inline constexpr size_t kIniValueMax = 259;

// The stored bytes of a key, cut to kIniValueMax; nullopt when absent.
std::optional<std::string> IniReadRaw(const std::string& path, const std::string& section,
                                      const std::string& key);

// A text value as UTF-8. Stored bytes are code page 932, as the Windows
// program writes them, unless they start with the UTF-8 mark that
// IniWriteString puts before a text code page 932 can't hold.
std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& def = {});

// A folder path as the file system names it: the decoded text, unless only
// the stored bytes themselves name an existing folder (a folder whose name
// is not UTF-8, stored as it is). Empty when absent.
std::string IniReadPath(const std::string& path, const std::string& section, const std::string& key);

// Leading decimal digits (with an optional sign) of the value; 0 for a value
// that is no number; def when the key is absent.
int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int def);

// Stores the UTF-8 text as code page 932 bytes, or behind the UTF-8 mark
// when code page 932 can't hold it exactly; bytes that are not UTF-8 (a
// path as the file system names it) are stored unchanged. Returns false
// when the write was not done: the file can't be read whole, is read-only
// or can't be written; it is then left exactly as it was. A write that
// would change nothing is not done at all.
bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

// Whether a read gives back whole what IniWriteString stores of the value:
// at most 259 bytes as code page 932 (or as a path's own bytes).
bool IniHoldsWhole(const std::string& value);

bool IniWriteInt(const std::string& path, const std::string& section, const std::string& key,
                 long long value);

// Writes the stored bytes unchanged; refuses (false) a section, key or
// value holding a line break.
bool IniWriteRaw(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& bytes);

}  // namespace q2
