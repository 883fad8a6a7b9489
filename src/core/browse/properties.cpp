#include "core/browse/properties.h"

#include "core/browse/folder_list.h"
#include "core/recording/display.h"
#include "core/rename/rename_format.h"
#include "core/texts/texts.h"
#include "platform/files.h"
#include "platform/text.h"

namespace q2 {

Message PropertiesMessage(const std::string& folder, const std::string& name) {
  const std::string path = JoinPath(folder, name);
  Message m{{}, kCaptionProperties, MsgIcon::Information};
  const auto size = FileSizeOf(path);
  if (!size) {
    m.text = DisplayFileName(name) + "\n" + kFailMissing;
    m.icon = MsgIcon::Exclamation;
    return m;
  }
  const bool folderItem = IsDirectory(path);
  auto line = [&](const char* label, const std::string& value) { m.text += std::string(m.text.empty() ? "" : "\n") + label + value; };
  line(kPropName, DisplayFileName(name));
  line(kPropKind, ListedKindText(name, folderItem));
  line(kPropPlace, DisplayPath(folder));
  if (!folderItem) line(kPropSize, SizeText(*size) + " (" + GroupedDigits(*size) + kPropBytes + ")");
  const FileTimes times = FileTimesOf(path);
  for (auto [label, time] : {std::pair{kPropCreated, &times.created}, {kPropModified, &times.modified}, {kPropAccessed, &times.accessed}})
    if (*time) line(label, TimeTextWithSeconds(**time));
  if (!folderItem && ContainsRecordingExtension(name)) {
    uint64_t ms = 0;
    const bool read = ReadGameLength(path, ms) == HeaderRead::Ok && ms > 0;
    line(kPropGameTime, read ? GameTimeText(ms) : kPropUnknown);
  }
  return m;
}

}  // namespace q2
