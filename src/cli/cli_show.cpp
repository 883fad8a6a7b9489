// quoril2-cli show: opens a recording as the window does and prints what it
// holds.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "platform/text.h"
#include "core/graph/age_shares.h"
#include "json_writer.h"
#include "core/recording/tech_table.h"
#include "core/recording/display.h"
#include "core/browse/folder_list.h"
#include "core/recording/open_replay.h"
#include "core/recording/game_settings.h"
#include "core/recording/game_summary.h"
#include "core/texts/game_texts.h"

namespace q2::cli {
namespace {

// Text for a terminal: a recording's control characters (an escape
// sequence in a chat line could re-title or reprogram the terminal) shown
// as \xNN, C1 controls as \u00NN.
std::string ForTerminal(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  char buf[8];
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(utf8[++i]));
      out += buf;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text, TextEncoding enc) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t e = text.find("\r\n", pos);
    if (e == std::string::npos) e = text.size();
    out.push_back(DecodeText(std::string_view(text).substr(pos, e - pos), enc));
    pos = e + 2;
  }
  return out;
}

std::string JsonLines(const std::string& text, TextEncoding enc) {
  std::string out = "[";
  bool first = true;
  for (const std::string& l : Lines(text, enc)) {
    out += (first ? "" : ", ") + JsonString(l);
    first = false;
  }
  return out + "]";
}

std::string JsonResearch(const ResearchList& l) {
  std::string out = "[";
  for (int i = 0; i < l.count; ++i)
    out += (i ? ", " : "") + std::string("{\"iconId\": ") + std::to_string(l.entries[i].iconId) +
           ", \"when\": " + JsonNumber(l.entries[i].when) + ", \"ms\": " + std::to_string(l.entries[i].ms) + "}";
  return out + "]";
}

template <class T>
std::string JsonOr(const std::optional<T>& v) {
  if (!v) return "null";
  if constexpr (std::is_same_v<T, bool>)
    return *v ? "true" : "false";
  else if constexpr (std::is_same_v<T, std::string>)
    return JsonString(*v);
  else
    return std::to_string(*v);
}

std::string JsonText(const char* text) { return text ? JsonString(text) : "null"; }

// A player's civilisation, colour and outcome (by index, as the names go).
std::string JsonPlayerFacts(const GameInfo& g, int index) {
  const PlayerFacts& p = g.players[index - 1];
  std::string coop = "[";
  for (size_t i = 0; i < p.coop.size(); ++i) coop += (i ? ", " : "") + JsonString(DecodeText(p.coop[i], g.encoding));
  coop += "]";
  return ", \"civ\": " + JsonOr(p.civ) + ", \"civName\": " + JsonOr(CivName(g, index)) +
         ", \"color\": " + JsonOr(p.color) + ", \"winner\": " + JsonOr(p.winner) +
         ", \"resignedMs\": " + JsonOr(p.resignedMs) + ", \"coop\": " + coop;
}

// The map, the lobby's settings, the matchup and the text encoding.
std::string JsonGame(const GameInfo& g) {
  const char* size = g.mapSize ? MapSizeText(*g.mapSize) : nullptr;
  const char* speed = g.speed ? SpeedText(*g.speed) : nullptr;
  const char* reveal = g.reveal ? RevealText(*g.reveal) : nullptr;
  const char* victory = g.victory ? VictoryText(static_cast<int>(*g.victory)) : nullptr;
  const char* age = g.startingAge ? StartingAgeText(*g.startingAge) : nullptr;
  return " \"map\": {\"id\": " + JsonOr(g.mapId) + ", \"name\": " + JsonOr(MapName(g)) +
         ", \"custom\": " + JsonOr(IsCustomMap(g)) + ", \"size\": " + JsonText(size) + "}" +
         ", \"settings\": {\"population\": " + JsonOr(g.population) + ", \"speed\": " + JsonText(speed) +
         ", \"reveal\": " + JsonText(reveal) + ", \"victory\": " + JsonText(victory) +
         ", \"startingAge\": " + JsonText(age) + "}" + ", \"matchup\": " + JsonOr(MatchupText(g)) +
         ", \"encoding\": " + JsonString(EncodingName(g.encoding));
}

// The recording as one JSON object; `head` goes first inside it (the path of
// a JSON Lines record). Pretty prints over a few lines, else one line.
std::string JsonObject(const ReplaySummary& s, const Messages& messages, const std::string& head, bool pretty) {
  const ReplayDocument& d = s.doc;
  const ReplayView& v = s.view;
  const TextEncoding enc = d.game.encoding;
  std::string o = "{" + head + "\"recorderSlot\": " + std::to_string(d.recorderSlot) + ",\n \"players\": [";
  for (int i = 0; i < kSlots; ++i)
    o += (i ? ", " : "") + std::string("{\"slot\": ") + std::to_string(i + 1) +
         ", \"name\": " + JsonString(DecodeText(d.playerNames[i], enc)) +
         ", \"team\": " + std::to_string(d.playerTeams[i]) + JsonPlayerFacts(d.game, i + 1) + "}";
  o += "],\n" + JsonGame(d.game) + ",\n";
  o += " \"perspectivePlayer\": " + JsonString(DecodeText(v.perspectivePlayerText, enc)) +
       ", \"allyTeam\": " + JsonString(DecodeText(v.allyTeamText, enc)) +
       ", \"enemyTeam\": " + JsonString(DecodeText(v.enemyTeamText, enc)) + ",\n";
  o += " \"pregameChat\": " + JsonLines(v.pregameChat.str(), enc) +
       ", \"ingameChat\": " + JsonLines(v.ingameChat.str(), enc) +
       ", \"ingameChatFiltered\": " + JsonLines(v.ingameChatFiltered.str(), enc) + ",\n";
  o += " \"ingameChatMs\": [";
  for (size_t i = 0; i < v.ingameChatMs.size(); ++i)
    o += (i ? ", " : "") + (v.ingameChatMs[i] == kUnknownTime ? std::string("null") : std::to_string(v.ingameChatMs[i]));
  o += "],\n";
  o += " \"bodyLength\": " + std::to_string(v.bodyLength) + ", \"duration\": " + std::to_string(v.gameDurationMs) +
       ", \"clockComplete\": " + (v.clockComplete ? "true" : "false") + ",\n \"ages\": [";
  for (int i = 0; i < kSlots; ++i)
    o += (i ? ", " : "") + std::string("{\"slot\": ") + std::to_string(i + 1) +
         ", \"feudal\": " + std::to_string(v.ageTimes[i][0]) +
         ", \"castle\": " + std::to_string(v.ageTimes[i][1]) +
         ", \"imperial\": " + std::to_string(v.ageTimes[i][2]) +
         ", \"feudalRank\": " + std::to_string(v.feudalRank[i]) +
         ", \"castleRank\": " + std::to_string(v.castleRank[i]) +
         ", \"imperialRank\": " + std::to_string(v.imperialRank[i]) +
         ", \"feudalMs\": " + std::to_string(AgeReachedMs(v, i, kFeudal)) +
         ", \"castleMs\": " + std::to_string(AgeReachedMs(v, i, kCastle)) +
         ", \"imperialMs\": " + std::to_string(AgeReachedMs(v, i, kImperial)) + "}";
  o += "],\n \"research\": [";
  for (int i = 0; i < kSlots; ++i)
    o += (i ? ", " : "") + std::string("{\"slot\": ") + std::to_string(i + 1) +
         ", \"economy\": " + JsonResearch(d.economyResearch[i]) +
         ", \"blacksmith\": " + JsonResearch(d.blacksmithResearch[i]) + "}";
  o += "],\n \"ageShares\": [";
  for (int i = 0; i < kSlots; ++i) {
    const auto& sh = d.graphRows[i].shares;
    o += (i ? ", " : "") + std::string("[") + JsonNumber(sh[0]) + ", " + JsonNumber(sh[1]) + ", " +
         JsonNumber(sh[2]) + ", " + JsonNumber(sh[3]) + "]";
  }
  o += "],\n \"messages\": [";
  for (size_t i = 0; i < messages.size(); ++i) o += (i ? ", " : "") + JsonString(messages[i].text);
  o += "]}";
  if (!pretty) {
    std::string line;
    line.reserve(o.size());
    for (size_t i = 0; i < o.size(); ++i) {
      // The line breaks between keys come as ",\n "; strings never hold a raw one.
      if (o[i] == '\n') {
        ++i;
        line += ' ';
        continue;
      }
      line += o[i];
    }
    o.swap(line);
  }
  return o + "\n";
}

std::string AgeText(uint32_t t, int rank) {
  if (t == 0) return "-";
  return std::to_string(t) + " (" + std::to_string(rank) + "位)";
}

void PrintText(const ReplaySummary& s, const Messages& messages) {
  const ReplayDocument& d = s.doc;
  const ReplayView& v = s.view;
  const TextEncoding enc = d.game.encoding;
  std::string o;
  for (const Message& m : messages) o += "[" + m.caption + "] " + m.text + "\n";
  o += "記録者スロット: " + std::to_string(d.recorderSlot) + "\n";
  o += "プレイヤー:\n";
  for (int i = 0; i < kSlots; ++i) {
    if (d.playerNames[i].empty() && d.playerTeams[i] == 0) continue;
    o += "  " + std::to_string(i + 1) + ": " + ForTerminal(DecodeText(d.playerNames[i], enc)) +
         "  (チーム値 " + std::to_string(d.playerTeams[i]) + ")\n";
  }
  // What the window's 詳細 adds.
  const std::string game = GameSummaryLine(d.game);
  if (!game.empty()) o += "ゲーム: " + ForTerminal(game) + "\n";
  for (int i = 0; i < kSlots; ++i) {
    const std::string detail = PlayerDetailText(d.game, i + 1);
    if (!detail.empty()) o += "  " + std::to_string(i + 1) + ": " + detail + "\n";
  }
  o += "視点プレイヤー：" + ForTerminal(DecodeText(v.perspectivePlayerText, enc)) + "\n";
  o += "味方チーム：" + ForTerminal(DecodeText(v.allyTeamText, enc)) + "\n";
  o += "敵チーム：" + ForTerminal(DecodeText(v.enemyTeamText, enc)) + "\n";
  o += "コマンド部の長さ: " + std::to_string(v.bodyLength) + " バイト\n";
  o += "時代 (領主 / 城主 / 帝王):\n";
  for (int i = 0; i < kSlots; ++i) {
    if (!v.ageTimes[i][0] && !v.ageTimes[i][1] && !v.ageTimes[i][2]) continue;
    o += "  " + std::to_string(i + 1) + ": " + AgeText(v.ageTimes[i][0], v.feudalRank[i]) + " / " +
         AgeText(v.ageTimes[i][1], v.castleRank[i]) + " / " + AgeText(v.ageTimes[i][2], v.imperialRank[i]) +
         "\n";
  }
  auto research = [&](const char* title, const std::array<ResearchList, kSlots>& lists) {
    o += std::string(title) + ":\n";
    for (int i = 0; i < kSlots; ++i) {
      if (lists[i].count == 0) continue;
      o += "  " + std::to_string(i + 1) + ":";
      for (int k = 0; k < lists[i].count; ++k) {
        const TechInfo* t = TechForIcon(lists[i].entries[k].iconId);
        char pct[16];
        std::snprintf(pct, sizeof pct, "%.1f%%", lists[i].entries[k].when * 100);
        o += std::string(" ") + (t ? t->nameJa : "?") + "(" + pct + ")";
      }
      o += "\n";
    }
  };
  research("内政", d.economyResearch);
  research("鉄鋼", d.blacksmithResearch);
  auto chat = [&](const char* title, const std::string& text) {
    o += std::string(title) + "\n";
    for (const std::string& l : Lines(text, enc)) o += "  " + ForTerminal(l) + "\n";
  };
  chat("-------ゲーム開始前チャット-------", v.pregameChat.str());
  chat("-------ゲーム開始後チャット-------", v.ingameChat.str());
  WriteOut(stdout, o);
}


// A path as JSON text: file names that are not UTF-8 are code page 932.
std::string JsonPath(const std::string& path) {
  return JsonString(DisplayFileName(path));
}

// The recordings of a folder and its subfolders, in the list's order, a
// subfolder's where it stands in the list. Folders met again through links
// or junctions are not walked twice.
// A folder that can't be listed is reported in its place, so that nothing
// is silently left out.
struct WalkItem {
  std::string path;
  bool unlistedFolder = false;
};

void CollectRecordings(const std::string& folder, std::vector<WalkItem>& out, std::set<std::string>& seen) {
  // By the folder's identity, not its canonical path: Windows junctions and
  // directory links loop without ever giving the same path twice.
  if (!seen.insert(EntryKey(JoinPath(folder, "."))).second) return;
  auto entries = ScanFolder(folder);
  if (!entries) {
    out.push_back({folder, true});
    return;
  }
  for (const FolderEntry& e : *entries) {
    const std::string path = JoinPath(folder, e.name);
    // A folder named like a recording is still a folder to walk.
    if (IsDirectory(path))
      CollectRecordings(path, out, seen);
    else if (e.isRecording())
      out.push_back({path});
  }
}

// One recording's line: its JSON object, or its path and why it failed.
std::string LineFor(const WalkItem& item, bool& failed, BodyThreads threads) {
  const std::string& file = item.path;
  if (item.unlistedFolder) {
    failed = true;
    return "{\"path\": " + JsonPath(file) + ", \"error\": " + JsonString(kMsgCannotListFolder) + "}\n";
  }
  ReplaySummary s;
  OpenResult r = OpenReplay(file, s, threads);
  if (r.ok) {
    ComputeAgeShares(s.doc, s.view.ageTimes, s.view.bodyLength);
    return JsonObject(s, r.messages, "\"path\": " + JsonPath(file) + ", ", false);
  }
  std::string error;
  for (const Message& m : r.messages) error += (error.empty() ? "" : "\n") + m.text;
  if (error.empty()) error = "読み込めませんでした";
  failed = true;
  return "{\"path\": " + JsonPath(file) + ", \"error\": " + JsonString(error) + "}\n";
}

// Recordings are read on every core, each worker taking the next one; the
// lines are written in the order given. Workers stay at most kAhead lines
// in front of the writer, so a huge archive never piles up in memory.
class BatchReader {
 public:
  explicit BatchReader(const std::vector<WalkItem>& files) : files_(files), lines_(files.size()) {}

  int run() {
    const bool progress = StderrIsTerminal();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers = std::min<size_t>({cores, kMaxWorkers, files_.size()});
    if (workers <= 1) {
      bool failed = false;
      for (size_t i = 0; i < files_.size(); ++i) {
        if (progress) PrintTo(stderr, "\r%zu / %zu", i + 1, files_.size());
        WriteOut(stdout, LineFor(files_[i], failed, BodyThreads::Own));
      }
      failed_ = failed;
    }
    std::vector<std::thread> pool;
    for (size_t w = 0; workers > 1 && w < workers; ++w) pool.emplace_back([this] { work(); });
    for (size_t i = 0; workers > 1 && i < files_.size(); ++i) {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [&] { return lines_[i].done; });
      std::string line = std::move(lines_[i].text);
      written_ = i + 1;
      lock.unlock();
      room_.notify_all();
      if (progress) PrintTo(stderr, "\r%zu / %zu", i + 1, files_.size());
      WriteOut(stdout, line);
    }
    for (std::thread& t : pool) t.join();
    if (progress) PrintTo(stderr, "\r%zu / %zu 件\n", files_.size(), files_.size());
    std::fflush(stdout);
    return failed_ ? 1 : 0;
  }

 private:
  static constexpr size_t kMaxWorkers = 8, kAhead = 64;

  struct Slot {
    std::string text;
    bool done = false;
  };

  void work() {
    while (true) {
      size_t i;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        if (next_ >= files_.size()) return;
        i = next_++;
        room_.wait(lock, [&] { return i < written_ + kAhead; });
      }
      bool failed = false;
      // The workers keep every core busy already.
      std::string line = LineFor(files_[i], failed, BodyThreads::Caller);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_[i] = {std::move(line), true};
        failed_ = failed_ || failed;
      }
      ready_.notify_all();
    }
  }

  const std::vector<WalkItem>& files_;
  std::vector<Slot> lines_;
  std::mutex mutex_;
  std::condition_variable ready_, room_;
  size_t next_ = 0, written_ = 0;
  bool failed_ = false;
};

// One JSON object per recording and line; a recording that fails gives its
// path and its messages and the run goes on.
int ShowMany(const std::vector<WalkItem>& files) { return BatchReader(files).run(); }

}  // namespace

int RunShow(const std::vector<std::string>& args) {
  bool json = false, recursive = false;
  std::vector<std::string> paths;
  for (const std::string& a : args) {
    if (a == "--json")
      json = true;
    else if (a == "--recursive")
      recursive = true;
    else if (!a.empty() && a[0] == '-' && a != "-")
      return 2;
    else
      paths.push_back(a);
  }
  if (paths.empty()) return 2;
  // Several recordings are shown only as JSON Lines.
  if (recursive || paths.size() > 1) {
    if (!json) return 2;
    std::vector<WalkItem> files;
    std::set<std::string> seen;
    for (const std::string& p : paths) {
      if (recursive && IsDirectory(p))
        CollectRecordings(p, files, seen);
      else
        files.push_back({p});
    }
    return ShowMany(files);
  }
  const std::string& file = paths.front();
  ReplaySummary s;
  OpenResult r = OpenReplay(file, s);
  if (!r.ok) {
    for (const Message& m : r.messages) PrintTo(stderr, "%s\n", m.text.c_str());
    // A step that fails without a message of its own still needs one here.
    if (r.messages.empty()) PrintTo(stderr, "%s: 読み込めませんでした\n", file.c_str());
    return 1;
  }
  ComputeAgeShares(s.doc, s.view.ageTimes, s.view.bodyLength);
  if (json) {
    const std::string o = JsonObject(s, r.messages, "", true);
    WriteOut(stdout, o);
  } else {
    PrintText(s, r.messages);
  }
  return 0;
}

}  // namespace q2::cli
