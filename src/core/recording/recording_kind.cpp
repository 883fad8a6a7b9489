#include "core/recording/recording_kind.h"

namespace q2 {

std::string_view ExtensionOf(RecordingKind kind) {
  switch (kind) {
    case RecordingKind::Mgx: return ".mgx";
    case RecordingKind::Mgz: return ".mgz";
    case RecordingKind::Mgl: return ".mgl";
  }
  return ".mgx";
}

std::optional<RecordingKind> ListedKind(std::string_view text) {
  for (RecordingKind k : kRecordingKinds)
    if (text.size() > 4 && text.find(ExtensionOf(k), 1) != std::string_view::npos) return k;
  return std::nullopt;
}

std::optional<RecordingKind> KindByExactExtension(std::string_view name) {
  for (RecordingKind k : kRecordingKinds)
    if (name.ends_with(ExtensionOf(k))) return k;
  return std::nullopt;
}

bool IsMglPath(std::string_view path) {
  if (path.size() < 4) return false;
  const std::string_view ext = path.substr(path.size() - 4);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return ext[0] == '.' && lower(ext[1]) == 'm' && lower(ext[2]) == 'g' && lower(ext[3]) == 'l';
}

Edition EditionOf(std::string_view path) { return IsMglPath(path) ? Edition::Kings : Edition::Conquerors; }

}  // namespace q2
