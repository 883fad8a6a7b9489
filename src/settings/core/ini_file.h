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

// A text value as UTF-8: stored bytes that are valid UTF-8 are taken as
// such, anything else as code page 932.
std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& def = {});

// Leading decimal digits (with an optional sign) of the value; 0 for a value
// that is no number; def when the key is absent.
int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int def);

// Stores the UTF-8 text as code page 932 bytes, or as UTF-8 when a character
// has no code page 932 form or the code page 932 bytes would read back as
// UTF-8. Returns false when the file can't be written.
bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

bool IniWriteInt(const std::string& path, const std::string& section, const std::string& key,
                 long long value);

// Writes the stored bytes unchanged; refuses (false) a section, key or
// value holding a line break.
bool IniWriteRaw(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& bytes);

}  // namespace q2
