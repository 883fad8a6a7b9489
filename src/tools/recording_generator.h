// Writes synthetic recordings with the real container layout: a raw-deflate
// header that carries the player table, team bytes and lobby chat behind
// filler, and a command body with research, age and chat commands amid
// filler commands. The same parameters always give the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace q2::gen {

struct Player {
  int slot = 1;          // 1 … 8 (any byte for bad-input tests)
  std::string name;      // UTF-8; stored as code page 932
  int team = 1;          // raw team byte: 1 = no team, 2 … 5 = teams
};

struct Research {
  int player = 1;
  int techId = 22;
  double at = 0.1;  // fraction of the body
};

struct AgeUp {
  int player = 1;
  int tech = 101;  // 101 feudal, 102 castle, 103 imperial
  double at = 0.2;
};

struct Chat {
  int player = 1;
  std::string text;  // UTF-8, stored as code page 932
  double at = 0.5;   // body chat only
};

struct GameParams {
  std::vector<Player> players;
  int recorderSlot = 1;
  std::vector<Chat> lobbyChat;  // `at` unused
  std::vector<Research> researches;
  std::vector<AgeUp> ages;
  std::vector<Chat> chat;
  size_t headerSize = 60000;   // inflated header, roughly
  size_t bodyLength = 200000;  // exact
  uint64_t seed = 1;
  bool scenario = false;             // non-zero bytes at 12 … 15
  bool nameLengthHasZero = false;    // name length counts its terminating zero
  bool writeTeams = true;
  bool writePlayerTable = true;
  bool laterLogHeader = false;       // the body's log header of later versions (three more words)
  // The earlier game's .mgl: the header length alone opens the file, no map
  // id before the player table, no lobby chat, and no log version at the
  // body's start.
  bool earlierGame = false;
};

// What the generator placed, at exact body positions.
struct Placed {
  std::vector<size_t> researchPos;  // per params.researches, the position j
  std::vector<size_t> agePos;       // per params.ages
  std::vector<size_t> chatPos;      // per params.chat, position of "@#"
  // Game time at each of them, and the whole game's.
  std::vector<uint64_t> researchMs, ageMs, chatMs;
  uint64_t durationMs = 0;
};

// Inflated header bytes.
std::string BuildHeader(const GameParams& params);
// Body bytes of exactly params.bodyLength (longer if the events need it).
std::string BuildBody(const GameParams& params, Placed* placed = nullptr);
// Raw deflate of the header, behind the two prefix words (the header length
// alone for an .mgl), then the body.
std::string Assemble(const std::string& header, const std::string& body, bool mgl = false);
std::string BuildRecording(const GameParams& params, Placed* placed = nullptr);

bool WriteFile(const std::string& path, const std::string& bytes);

// The game's default name for a recording made at this time, for example
// "記録されたゲーム -  05-3-2005 10`40`55.mgx".
std::string DefaultRecordingName(const LocalTime& t);

// A typical game: the given names (slots 1 …), teams, some research and
// age advances, lobby and in-game chat.
GameParams TypicalGame(const std::vector<std::string>& names, const std::vector<int>& teams,
                 int recorderSlot, uint64_t seed, size_t bodyLength = 400000,
                 size_t headerSize = 80000);

// Writes the sample folder of about a dozen recordings. Returns the count
// written, or -1 on failure.
int WriteSampleFolder(const std::string& dir);

}  // namespace q2::gen
