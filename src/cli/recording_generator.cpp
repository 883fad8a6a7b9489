#include "recording_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <zlib.h>

#include "app/core/text_codec.h"

namespace q2::gen {
namespace {

class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  uint64_t next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
  // Filler byte: never one that starts a marker or a chat line.
  char filler() { return static_cast<char>(below(0x40)); }

 private:
  uint64_t s_;
};

std::string Cp932(const std::string& utf8) {
  auto e = Utf8ToCp932(utf8);
  return e ? *e : utf8;
}

void PutLe32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Map-like filler: short runs of a few byte values, so that it compresses
// about as well as a real header.
void HeaderFiller(std::string& out, size_t n, Rng& rng) {
  const size_t end = out.size() + n;
  while (out.size() < end) {
    char v = rng.filler();
    size_t run = 1 + rng.below(12);
    for (size_t i = 0; i < run && out.size() < end; ++i) out += v;
  }
}

// A command that carries a 32-bit -1 but matches no research or age.
void FillerCommand(std::string& out, Rng& rng) {
  switch (rng.below(4)) {
    case 0:  // sync
      out.append("\x02\x00\x00\x00", 4);
      PutLe32(out, 0x87 + rng.below(0x100));
      out.append("\x03\x00\x00\x00", 4);
      for (int i = 0; i < 8; ++i) out += rng.filler();
      break;
    case 1: {  // unit command with a -1 target
      out.append("\x01\x00\x00\x00", 4);
      PutLe32(out, 24);
      out += '\x03';
      for (int i = 0; i < 3; ++i) out += rng.filler();
      out.append("\x07\xFF\xFF\xFF\xFF", 5);
      for (int i = 0; i < 15; ++i) out += rng.filler();
      break;
    }
    default: {  // plain command
      out.append("\x01\x00\x00\x00", 4);
      uint32_t len = 8 + rng.below(24);
      PutLe32(out, len);
      for (uint32_t i = 0; i < len; ++i) out += rng.filler();
      break;
    }
  }
}

struct Event {
  size_t target;
  int kind;  // 0 research, 1 age, 2 chat
  size_t index;
};

}  // namespace

std::string BuildHeader(const Spec& spec) {
  Rng rng(spec.seed);
  std::string h;
  h.append("VER 9.4\0", 8);
  PutLe32(h, 0x3F800000);
  h.append(spec.scenario ? "\x01\x00\x00\x00" : std::string(4, '\0'));
  HeaderFiller(h, 61 - h.size(), rng);
  h += static_cast<char>(spec.recorderSlot);
  const size_t tail = 20000;
  const size_t randomGameAt = spec.headerSize > tail + 200 ? spec.headerSize - tail : 200;
  HeaderFiller(h, randomGameAt - h.size(), rng);
  h += "RandomGame";
  HeaderFiller(h, 190 - 10 + 1500 + rng.below(500), rng);
  if (spec.writePlayerTable) {
    h.append("\xFF\xFF\xFF\x9D\xFF", 5);
    HeaderFiller(h, 22, rng);
    // Record 0 is the nature slot, then slots 1 … 8 in order.
    std::array<const Player*, 8> bySlot{};
    std::vector<const Player*> extra;
    for (const Player& p : spec.players) {
      if (p.slot >= 1 && p.slot <= 8 && !bySlot[p.slot - 1])
        bySlot[p.slot - 1] = &p;
      else
        extra.push_back(&p);
    }
    auto record = [&](int slot, const std::string& name) {
      h += static_cast<char>(slot);
      HeaderFiller(h, 7, rng);
      std::string n = Cp932(name);
      if (spec.nameLengthHasZero && !n.empty()) n += '\0';
      h += static_cast<char>(n.size());
      h.append(3, '\0');
      h += n;
    };
    record(0, "");
    size_t e = 0;
    for (int s = 0; s < 8; ++s) {
      if (bySlot[s])
        record(bySlot[s]->slot, bySlot[s]->name);
      else if (e < extra.size()) {
        record(extra[e]->slot, extra[e]->name);
        ++e;
      } else
        record(0, "");
    }
  }
  HeaderFiller(h, 2000 + rng.below(500), rng);
  if (spec.writeTeams) {
    h.append("\x9A\x99\x99\x99\x99\x99\xF9\x3F", 8);
    HeaderFiller(h, 5, rng);
    // Empty slots carry team 0.
    std::array<int, 8> teams{};
    for (const Player& p : spec.players)
      if (p.slot >= 1 && p.slot <= 8) teams[p.slot - 1] = p.team;
    for (int t : teams) h += static_cast<char>(t);
    HeaderFiller(h, 30, rng);
  }
  for (const Chat& c : spec.lobbyChat) {
    h += "@#";
    h += static_cast<char>('0' + c.player);
    h += Cp932(c.text);
    h += '\0';
    PutLe32(h, 0x11 + rng.below(0x20));
  }
  HeaderFiller(h, 16, rng);
  return h;
}

std::string BuildBody(const Spec& spec, Placed* placed) {
  Rng rng(spec.seed ^ 0xB0D1);
  std::vector<Event> events;
  const double L = static_cast<double>(spec.bodyLength);
  for (size_t i = 0; i < spec.researches.size(); ++i)
    events.push_back({static_cast<size_t>(spec.researches[i].at * L), 0, i});
  for (size_t i = 0; i < spec.ages.size(); ++i)
    events.push_back({static_cast<size_t>(spec.ages[i].at * L), 1, i});
  for (size_t i = 0; i < spec.chat.size(); ++i)
    events.push_back({static_cast<size_t>(spec.chat[i].at * L), 2, i});
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.target < b.target; });
  Placed local;
  Placed& pl = placed ? *placed : local;
  pl.researchPos.assign(spec.researches.size(), 0);
  pl.agePos.assign(spec.ages.size(), 0);
  pl.chatPos.assign(spec.chat.size(), 0);

  std::string b;
  b.reserve(spec.bodyLength + 4096);
  b.append("\x04\x00\x00\x00\xF4\x01\x00\x00\x01\x00\x00\x00", 12);
  for (const Event& ev : events) {
    // Research and age commands start 17 bytes before their position j.
    const size_t lead = ev.kind == 2 ? 16 : 17;
    while (b.size() + 48 + lead < ev.target) FillerCommand(b, rng);
    if (ev.kind == 0 || ev.kind == 1) {
      const int player = ev.kind == 0 ? spec.researches[ev.index].player : spec.ages[ev.index].player;
      const int tech = ev.kind == 0 ? spec.researches[ev.index].techId : spec.ages[ev.index].tech;
      b.append("\x01\x00\x00\x00", 4);
      PutLe32(b, 16);
      b.append("\x65\x00\x00\x00", 4);
      PutLe32(b, 0x700 + rng.below(0x400));
      b += static_cast<char>(player);
      (ev.kind == 0 ? pl.researchPos : pl.agePos)[ev.index] = b.size();
      b += '\0';
      b += static_cast<char>(tech & 0xFF);
      b += static_cast<char>((tech >> 8) & 0xFF);
      b.append("\xFF\xFF\xFF\xFF", 4);
    } else {
      const Chat& c = spec.chat[ev.index];
      std::string text = Cp932(c.text);
      b.append("\x04\x00\x00\x00\xFF\xFF\xFF\xFF", 8);
      PutLe32(b, static_cast<uint32_t>(text.size() + 4));
      pl.chatPos[ev.index] = b.size();
      b += "@#";
      b += static_cast<char>('0' + c.player);
      b += text;
      b += '\0';
    }
  }
  while (b.size() + 48 < spec.bodyLength) FillerCommand(b, rng);
  while (b.size() < spec.bodyLength) b += rng.filler();
  return b;
}

std::string Assemble(const std::string& header, const std::string& body) {
  z_stream zs{};
  deflateInit2(&zs, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string comp(deflateBound(&zs, header.size()), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(header.data()));
  zs.avail_in = static_cast<uInt>(header.size());
  zs.next_out = reinterpret_cast<Bytef*>(comp.data());
  zs.avail_out = static_cast<uInt>(comp.size());
  deflate(&zs, Z_FINISH);
  comp.resize(zs.total_out);
  deflateEnd(&zs);
  std::string out;
  PutLe32(out, static_cast<uint32_t>(comp.size() + 8));
  PutLe32(out, 0);
  out += comp;
  out += body;
  return out;
}

std::string BuildRecording(const Spec& spec, Placed* placed) {
  return Assemble(BuildHeader(spec), BuildBody(spec, placed));
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  File f(path, "wb");
  if (!f) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
  return f.close();
}

std::string DefaultRecordingName(const LocalTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d-%d-%04d %02d`%02d`%02d.mgx", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  return std::string("記録されたゲーム -  ") + buf;
}

Spec TypicalGame(const std::vector<std::string>& names, const std::vector<int>& teams,
                 int recorderSlot, uint64_t seed, size_t bodyLength, size_t headerSize) {
  Spec s;
  s.seed = seed;
  s.bodyLength = bodyLength;
  s.headerSize = headerSize;
  s.recorderSlot = recorderSlot;
  Rng rng(seed);
  for (size_t i = 0; i < names.size(); ++i)
    s.players.push_back({static_cast<int>(i + 1), names[i], i < teams.size() ? teams[i] : 1});
  static const int econ[] = {22, 213, 202, 14, 55, 203, 13, 249, 221, 278, 182, 12, 279};
  static const int smith[] = {199, 67, 211, 81, 74, 200, 68, 212, 82, 76, 201, 75, 77, 80, 219};
  for (size_t p = 1; p <= names.size(); ++p) {
    const int player = static_cast<int>(p);
    double feudal = 0.12 + rng.below(60) / 1000.0;
    double castle = feudal + 0.15 + rng.below(60) / 1000.0;
    double imperial = castle + 0.30 + rng.below(150) / 1000.0;
    s.ages.push_back({player, 101, feudal});
    s.ages.push_back({player, 102, castle});
    if (rng.below(3) != 0) s.ages.push_back({player, 103, imperial});
    size_t ne = 4 + rng.below(8), nb = 3 + rng.below(10);
    for (size_t i = 0; i < ne; ++i)
      s.researches.push_back({player, econ[i], 0.02 + (0.9 * i) / ne + rng.below(30) / 1000.0});
    for (size_t i = 0; i < nb; ++i)
      s.researches.push_back({player, smith[i], 0.15 + (0.8 * i) / nb + rng.below(30) / 1000.0});
  }
  if (!names.empty()) {
    s.lobbyChat.push_back({1, names[0] + ": よろしくお願いします", 0});
    if (names.size() > 1) s.lobbyChat.push_back({2, names[1] + ": よろしく～ gl hf", 0});
    s.lobbyChat.push_back({1, names[0] + ": 準備OK?", 0});
    s.chat.push_back({1, names[0] + ": 11", 0.01});
    s.chat.push_back({recorderSlot, "--警告-- あなたの町の人が攻撃を受けています", 0.35});
    if (names.size() > 1) s.chat.push_back({2, names[1] + ": ラッシュきた！", 0.36});
    s.chat.push_back({recorderSlot, "--警告-- あなたの建物が攻撃を受けています", 0.52});
    s.chat.push_back({1, names[0] + ": gg", 0.97});
  }
  return s;
}

int WriteSampleFolder(const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(FsPath(dir), ec);
  fs::create_directories(FsPath(dir + "/古い記録"), ec);
  struct Item {
    std::string name;
    std::vector<std::string> names;
    std::vector<int> teams;
    int recorder;
    size_t body;
  };
  const std::vector<Item> items = {
      {DefaultRecordingName({2005, 3, 26, 2, 23, 10}), {"太郎", "花子"}, {1, 1}, 1, 900000},
      {DefaultRecordingName({2005, 11, 5, 21, 4, 38}), {"侍ジャック", "North", "ゆきむら", "弓兵マスター"}, {2, 2, 3, 3}, 1, 1500000},
      {DefaultRecordingName({2006, 1, 14, 23, 59, 1}), {"騎士団長", "ｶﾐｶｾﾞ", "太郎", "花子", "North", "Haslebo", "ゆきむら", "侍ジャック"}, {2, 3, 2, 3, 2, 3, 2, 3}, 3, 2400000},
      {DefaultRecordingName({2006, 2, 3, 9, 15, 0}), {"ゆきむら", "ｶﾐｶｾﾞ", "騎士団長"}, {1, 1, 1}, 2, 700000},
      {DefaultRecordingName({2006, 8, 19, 14, 2, 47}), {"花子", "弓兵マスター"}, {1, 1}, 2, 500000},
      {DefaultRecordingName({2007, 12, 31, 0, 0, 5}), {"North", "South", "East", "West"}, {2, 3, 2, 3}, 4, 1100000},
      {"ランク戦_太郎vs花子.mgx", {"太郎", "花子"}, {1, 1}, 1, 800000},
      {"大会決勝 第3試合.mgx", {"侍ジャック", "騎士団長", "ゆきむら", "ｶﾐｶｾﾞ"}, {2, 3, 3, 2}, 2, 1300000},
      {"practice-arabia.mgx", {"North", "ゆきむら"}, {1, 1}, 1, 400000},
      {"古い記録/" + DefaultRecordingName({2004, 6, 7, 18, 30, 12}), {"太郎", "North"}, {1, 1}, 1, 300000},
      {"古い記録/初めての対戦.mgx", {"花子", "太郎"}, {1, 1}, 2, 250000},
      {"teamgame 4v4.mgx", {"A", "B", "C", "D", "E", "F", "G", "H"}, {2, 2, 2, 2, 3, 3, 3, 3}, 5, 1800000},
  };
  int n = 0;
  uint64_t seed = 7;
  for (const Item& it : items) {
    Spec s = TypicalGame(it.names, it.teams, it.recorder, seed, it.body, 90000 + 20000 * (seed % 5));
    ++seed;
    if (!WriteFile(dir + "/" + it.name, BuildRecording(s))) return -1;
    ++n;
  }
  WriteFile(dir + "/メモ.txt", "このファイルは一覧に出ません\n");
  return n;
}

}  // namespace q2::gen
