// The game's default recording names, "記録されたゲーム -  05-3-2005 10`40`55.mgx",
// and the two sources of a recording's date and time fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/rename/rename_format.h"
#include "core/texts/texts.h"

namespace q2 {

// 20 bytes in code page 932: eight double-byte characters, a space, a
// hyphen and two spaces.
// The separators between hour, minute and second are back quotes ("?\?"
// only keeps "??-" from reading as a trigraph).

// The English game's default name: "recorded game -  " + "05-Mar-2005 10`40`55.mgx".
inline constexpr const char* DefaultNamePrefixEnglish = "recorded game -  ";
// UserPatch's: "rec.20050305-104055.mgz".
inline constexpr const char* DefaultNamePrefixUserPatch = "rec.";

// File-search matching: "?" is exactly one character, "*" any run of
// characters, letters match without regard to case.
bool MatchesFileSearchPattern(std::string_view name, std::string_view pattern);

enum class DefaultNameKind { Japanese, English, UserPatch };
// The default layout the name follows: the Japanese one by its file-search
// pattern, the other two exactly (digits, month names); nullopt for none.
std::optional<DefaultNameKind> DefaultNameKindOf(std::string_view fileName);
bool IsDefaultRecordingName(std::string_view fileName);
// Starts with the Japanese prefix (its fields are then read by position).
bool HasDefaultNamePrefix(std::string_view fileName);
// Whether a selected recording takes its date from its name.
bool TakesDateFromName(std::string_view fileName);

enum class DateSource { FromDefaultName, FromFileTime };

// The fields cut out of the file name: for the Japanese prefix after it, at
// the byte positions of the layout counted in the name's code page 932 form
// (the short form, a one-character month, is told by a hyphen at byte 4);
// for the English and UserPatch names from their fixed places.
DateFields ReadDefaultNameDate(const std::string& recordingPath);
// The file's last-write time in local time; empty fields when the file's
// time can't be read.
DateFields ReadFileTimeDate(const std::string& recordingPath);
DateFields DateFieldsOf(const LocalTime& t);
DateFields ReadDate(const std::string& recordingPath, DateSource source);

}  // namespace q2
