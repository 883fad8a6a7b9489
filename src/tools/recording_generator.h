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
  int slot = 1;          // 1 … 8 (any byte for bad-input tests); co-op partners share it
  std::string name;      // UTF-8; stored as code page 932 (GBK in a Chinese game)
  int team = 1;          // raw team byte: 1 = no team, 2 … 5 = teams
  int civ = 1;           // the game's civilisation id
  int color = -1;        // 0 … 7; -1: slot - 1
  int type = 2;          // 2 human, 4 computer
};

// A resign command in the body: the table slot (1 … 8) that resigns, the
// player index it carries, when, and whether it is a drop.
struct Resign {
  int number = 1;
  int index = 1;
  double at = 0.9;  // fraction of the body
  bool dropped = false;
};

// The game and version whose header layout is written.
enum class Version { Conquerors10, Conquerors10c, UserPatch14, UserPatch15 };
enum class Language { English, Japanese, Chinese };

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

  // The game settings, player blocks, scenario instructions and lobby
  // settings around the table and the team bytes.
  bool writeSettings = true;
  Version version = Version::Conquerors10c;  // of the later game
  Language language = Language::English;  // of the instructions; Chinese also writes names and chat in GBK
  int mapId = 9;               // Arabia; 44 for a custom map
  std::string customMap;       // the custom map's name (UTF-8), written in the instructions
  int mapSize = 0;             // lobby id: 0 tiny … 5 giant
  int population = 200;
  int speed = 150;             // percent
  int reveal = 0;
  int victory = 0;             // 0 standard, 1 conquest: the instructions' first line
  int startingAge = 0;         // 0 dark … 3 imperial
  bool postgame = false;       // UserPatch's summary at the body's end (its victory type)
  // Computer players' scripts before the game block, which moves behind
  // them (the header scan then reports a scenario, as it does for them).
  std::vector<std::string> aiStrings;
  std::vector<Resign> resigns;
};

// What the generator placed, at exact body positions.
struct Placed {
  std::vector<size_t> researchPos;  // per params.researches, the position j
  std::vector<size_t> agePos;       // per params.ages
  std::vector<size_t> chatPos;      // per params.chat, position of "@#"
  std::vector<size_t> resignPos;    // per params.resigns, the command's start
  // Game time at each of them, and the whole game's.
  std::vector<uint64_t> researchMs, ageMs, chatMs, resignMs;
  uint64_t durationMs = 0;
};

// Inflated header bytes.
std::string BuildHeader(const GameParams& params);
// The player written at each table slot 1 … 8 (nullptr for an empty one):
// a player at its own slot, co-op partners and stray slots in the free ones.
std::array<const Player*, 8> TableSlots(const GameParams& params);
// A text as the game of that language stores it (UTF-8 kept where it can't).
std::string GameText(const GameParams& params, const std::string& utf8);
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
