// The three kinds of recorded game: The Conquerors' .mgx, UserPatch's .mgz
// (the same container) and the earlier game's .mgl (a shorter prefix).
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace q2 {

enum class RecordingKind { Mgx, Mgz, Mgl };

inline constexpr std::array<RecordingKind, 3> kRecordingKinds = {RecordingKind::Mgx, RecordingKind::Mgz,
                                                                  RecordingKind::Mgl};

// ".mgx", ".mgz" or ".mgl".
std::string_view ExtensionOf(RecordingKind kind);

// The kind whose extension occurs in the text after its first byte, as the
// folder list tells a recording (".mgx" first); nullopt for none.
std::optional<RecordingKind> ListedKind(std::string_view text);

// The kind whose extension ends the name exactly (lower case, as renames
// require); nullopt for none.
std::optional<RecordingKind> KindByExactExtension(std::string_view name);

// An .mgl file: its header length alone opens the container. Told by the
// extension, whatever its case.
bool IsMglPath(std::string_view path);

// The game that wrote a recording. The earlier game's .mgl has no map id
// before the header's player table and no log version at the body's start.
// Told by the extension, as the container is: an .mgl of the later layout
// doesn't even inflate.
enum class Edition { Conquerors, Kings };
Edition EditionOf(std::string_view path);

}  // namespace q2
