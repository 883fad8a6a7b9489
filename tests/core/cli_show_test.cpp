// quoril2-cli show, run as a program: output shapes, exit codes, messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "graph/core/age_shares.h"
#include "support/core_support.h"
#include "support/run_program.h"

using namespace q2test;
namespace fs = std::filesystem;

namespace {

// A JSON text as (path, value) pairs in document order: "players/0/name".
// Objects and arrays are "{" and "[" before their members; strings keep
// their quotes, without escapes. No pairs at all when the text is no JSON.
struct Json {
  std::vector<std::pair<std::string, std::string>> items;

  const std::string& operator[](const std::string& path) const {
    for (const auto& [p, v] : items)
      if (p == path) return v;
    static const std::string none = "(none)";
    return none;
  }
  // The member names (or item numbers) directly under `path`.
  std::vector<std::string> keys(const std::string& path = "") const {
    std::vector<std::string> k;
    for (const auto& [p, v] : items)
      if (p.size() > path.size() && p.compare(0, path.size(), path) == 0 && (path.empty() || p[path.size()] == '/')) {
        const std::string rest = p.substr(path.empty() ? 0 : path.size() + 1);
        if (rest.find('/') == std::string::npos) k.push_back(rest);
      }
    return k;
  }
  // The strings of an array, without their quotes.
  std::vector<std::string> strings(const std::string& path) const {
    std::vector<std::string> s;
    for (const std::string& k : keys(path)) s.push_back((*this)[path + "/" + k].substr(1, (*this)[path + "/" + k].size() - 2));
    return s;
  }
  double number(const std::string& path) const { return std::strtod((*this)[path].c_str(), nullptr); }
};

class JsonReader {
 public:
  explicit JsonReader(const std::string& s) : s_(s) {}
  Json read() {
    Json j;
    if (value("", j) && (space(), i_ == s_.size())) return j;
    ADD_FAILURE() << "no JSON: " << s_;
    return {};
  }

 private:
  void space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  // A string with its quotes; false on a raw control character or an
  // escape the writer doesn't use.
  bool text(std::string& v) {
    v = "\"";
    for (++i_; i_ < s_.size() && s_[i_] != '"'; ++i_) {
      char c = s_[i_];
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c == '\\' && ++i_ < s_.size()) {
        const std::string from = "\"\\/nrtbfu", to = "\"\\/\n\r\t\b\f";
        const size_t k = from.find(s_[i_]);
        if (k == std::string::npos) return false;
        c = k < to.size() ? to[k] : static_cast<char>(std::stoi(s_.substr(i_ + 1, 4), nullptr, 16));
        if (k == to.size()) i_ += 4;
      }
      v += c;
    }
    v += '"';
    return i_++ < s_.size();
  }
  bool value(const std::string& path, Json& j) {
    space();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    std::string v;
    if (c == '{' || c == '[') {
      j.items.push_back({path, std::string(1, c)});
      const char close = c == '{' ? '}' : ']';
      ++i_;
      space();
      if (i_ < s_.size() && s_[i_] == close) return ++i_, true;
      for (int n = 0;; ++n) {
        std::string key = std::to_string(n);
        space();
        if (c == '{') {
          if (i_ >= s_.size() || s_[i_] != '"' || !text(key)) return false;
          key = key.substr(1, key.size() - 2);
          space();
          if (i_ >= s_.size() || s_[i_++] != ':') return false;
        }
        if (!value(path.empty() ? key : path + "/" + key, j)) return false;
        space();
        if (i_ < s_.size() && s_[i_] == ',') ++i_;
        else return i_ < s_.size() && s_[i_++] == close;
      }
    }
    if (c == '"') {
      if (!text(v)) return false;
    } else {
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '-' || s_[i_] == '+' ||
                                s_[i_] == '.'))
        v += s_[i_++];
      if (v.empty()) return false;
    }
    j.items.push_back({path, v});
    return true;
  }
  const std::string& s_;
  size_t i_ = 0;
};

ProgramRun Cli(const TempDir& dir, const std::vector<std::string>& args) {
  return RunProgram(QUORIL2_CLI, args, dir.path());
}

}  // namespace

std::string Q(const std::string& s) { return "\"" + s + "\""; }

TEST(CliShow, ExitCodesAndMessagesOfEveryOutcome) {
  TempDir dir;
  WriteBytes(dir / "a.mgx", "");
  WriteBytes(dir / "corrupt.mgx", Le32(0) + "xxxxxxxx");
  WriteBytes(dir / "inflate.mgx", Le32(8) + Le32(0));
  WriteBytes(dir / "slot9.mgx", q2::gen::Assemble(HeaderBytes(1).randomGame().tableMarker().record(0, "")
                                                      .record(1, "kept").record(9, "bad").emptyRecords(6).b,
                                                  std::string(50, '\x01')));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"show"}, {"show", "--json"}, {"show", "--bogus", dir / "a.mgx"}, {"show", dir / "a.mgx", dir / "a.mgx"},
           {"frobnicate", dir / "a.mgx"}}) {
    ProgramRun r = Cli(dir, args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
  // A failing step prints its message on standard error only.
  for (const char* flag : {"--json", "-"}) {
    for (const auto& [file, message] : {std::pair{"corrupt.mgx", kTextCorrupt}, std::pair{"missing.mgx", kTextCannotOpen},
                                        std::pair{"inflate.mgx", kTextInflate}}) {
      ProgramRun r = Cli(dir, flag[1] ? std::vector<std::string>{"show", flag, dir / file} : std::vector<std::string>{"show", dir / file});
      EXPECT_EQ(r.code, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err, message + "\n");
    }
  }
  // The messages of an open that succeeds are listed with the rest.
  ProgramRun r = Cli(dir, {"show", "--json", dir / "slot9.mgx"});
  ASSERT_EQ(r.code, 0);
  Json j = JsonReader(r.out).read();
  EXPECT_EQ(j.strings("messages"), std::vector<std::string>{kTextHeaderData});
  EXPECT_EQ(j["players/0/name"], Q("kept"));
  EXPECT_EQ(j["bodyLength"], "50");
  r = Cli(dir, {"show", dir / "slot9.mgx"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find(kTextHeaderData), std::string::npos);
  EXPECT_NE(r.out.find("kept"), std::string::npos);
  EXPECT_EQ(Snapshot(dir.path()).size(), 5u);  // only the failed inflate leaves its .dat file
}

TEST(CliShow, JsonHasExactlyTheDocumentedShape) {
  TempDir dir;
  q2::gen::GameParams params =
      q2::gen::TypicalGame({"North", "侍ジャック", "ゆきむら", "West"}, {2, 3, 2, 3}, 3, 21, 240000, 40000);
  params.lobbyChat.push_back({2, "quote \" backslash \\ tab \t end", 0});
  params.chat.push_back({4, "West: 「了解」", 0.8});
  q2::gen::Placed placed;
  WriteBytes(dir / "game.mgx", q2::gen::BuildRecording(params, &placed));
  ProgramRun r = Cli(dir, {"show", "--json", dir / "game.mgx"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  Json j = JsonReader(r.out).read();
  EXPECT_EQ(j.keys(), (std::vector<std::string>{"recorderSlot", "players", "perspectivePlayer", "allyTeam", "enemyTeam",
                                                "pregameChat", "ingameChat", "ingameChatFiltered", "ingameChatMs",
                                                "bodyLength", "duration", "clockComplete", "ages", "research",
                                                "ageShares", "messages"}));
  EXPECT_EQ(j["recorderSlot"], "3");
  const std::vector<std::string> names = {"North", "侍ジャック", "ゆきむら", "West", "", "", "", ""};
  for (size_t i = 0; i < 8; ++i) {
    const std::string p = "players/" + std::to_string(i);
    EXPECT_EQ(j.keys(p), (std::vector<std::string>{"slot", "name", "team"}));
    EXPECT_EQ(j[p + "/slot"], std::to_string(i + 1));
    EXPECT_EQ(j[p + "/name"], Q(names[i]));
    EXPECT_EQ(j[p + "/team"], i < 4 ? std::to_string(2 + i % 2) : "0");
  }
  EXPECT_EQ(j["perspectivePlayer"], Q("ゆきむら"));
  EXPECT_EQ(j["allyTeam"], Q("North ゆきむら "));
  EXPECT_EQ(j["enemyTeam"], Q(""));
  std::vector<std::string> lobby;
  for (const auto& c : params.lobbyChat) lobby.push_back(c.text);
  EXPECT_EQ(j.strings("pregameChat"), lobby);
  std::map<size_t, std::pair<std::string, uint64_t>> chat;
  for (size_t i = 0; i < params.chat.size(); ++i) chat[placed.chatPos[i]] = {params.chat[i].text, placed.chatMs[i]};
  std::vector<std::string> all, filtered, times;
  for (const auto& [pos, line] : chat) {
    all.push_back(line.first);
    if (line.first.rfind("--警告", 0) != 0) filtered.push_back(line.first);
    times.push_back(std::to_string(line.second));
  }
  EXPECT_EQ(j.strings("ingameChat"), all);
  EXPECT_EQ(j.strings("ingameChatFiltered"), filtered);
  std::vector<std::string> chatMs;
  for (const std::string& k : j.keys("ingameChatMs")) chatMs.push_back(j["ingameChatMs/" + k]);
  EXPECT_EQ(chatMs, times);
  EXPECT_EQ(j["bodyLength"], "240000");
  EXPECT_EQ(j["duration"], std::to_string(placed.durationMs));  // the generator's own clock
  EXPECT_EQ(j["clockComplete"], "true");

  std::array<std::array<uint32_t, 3>, 8> times8{};
  for (size_t i = 0; i < 8; ++i) {
    const std::string a = "ages/" + std::to_string(i);
    EXPECT_EQ(j.keys(a), (std::vector<std::string>{"slot", "feudal", "castle", "imperial", "feudalRank", "castleRank",
                                                   "imperialRank", "feudalMs", "castleMs", "imperialMs"}));
    EXPECT_EQ(j[a + "/slot"], std::to_string(i + 1));
    for (int k = 0; k < 3; ++k) times8[i][k] = static_cast<uint32_t>(j.number(a + "/" + j.keys(a)[1 + k]));
  }
  for (size_t k = 0; k < params.ages.size(); ++k) {
    const auto& age = params.ages[k];
    const std::string key = "ages/" + std::to_string(age.player - 1) + "/" + (age.tech == 101 ? "feudal" : age.tech == 102 ? "castle" : "imperial");
    EXPECT_EQ(j.number(key), placed.agePos[k] + 84480.0);
    // Reached a fixed research time after the click, unless the game ended first.
    const uint64_t reached = placed.ageMs[k] + (age.tech == 101 ? 130000 : age.tech == 102 ? 160000 : 190000);
    EXPECT_EQ(j.number(key + "Ms"), reached > placed.durationMs ? 0 : reached);
  }
  EXPECT_EQ(j["ages/4/feudalRank"], "0");

  size_t checked = 0;
  for (size_t i = 0; i < 8; ++i) {
    const std::string res = "research/" + std::to_string(i);
    EXPECT_EQ(j.keys(res), (std::vector<std::string>{"slot", "economy", "blacksmith"}));
    for (const char* cat : {"/economy", "/blacksmith"})
      for (const std::string& e : j.keys(res + cat)) {
        const std::string entry = res + cat + "/" + e;
        EXPECT_EQ(j.keys(entry), (std::vector<std::string>{"iconId", "when", "ms"}));
        // Full precision: the printed number reads back as the very double.
        bool found = false;
        for (size_t k = 0; k < params.researches.size(); ++k)
          if (params.researches[k].player == static_cast<int>(i + 1) &&
              j.number(entry + "/when") == static_cast<double>(placed.researchPos[k]) / 240000) {
            found = true;
            EXPECT_EQ(j[entry + "/ms"], std::to_string(placed.researchMs[k]));
          }
        EXPECT_TRUE(found) << j[entry + "/when"];
        ++checked;
      }
  }
  EXPECT_EQ(checked, params.researches.size());
  for (size_t i = 0; i < 8; ++i) {
    const std::string row = "ageShares/" + std::to_string(i);
    ASSERT_EQ(j.keys(row).size(), 4u);
    const q2::AgeShares want = q2::AgeSharesOf(times8[i][0], times8[i][1], times8[i][2], 240000);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(j.number(row + "/" + std::to_string(k)), want[k]) << j[row + "/" + std::to_string(k)];
  }
  EXPECT_EQ(j["messages"], "[");
  EXPECT_TRUE(j.keys("messages").empty());
}

TEST(CliShow, ManyRecordingsGiveOneJsonLineEachInOrderAndGoOnPastFailures) {
  TempDir dir;
  fs::create_directories(dir / "top/b-sub");
  WriteBytes(dir / "top/c.mgx", Game({"C", "B"}, 5));
  WriteBytes(dir / "top/a.mgx", Game({"A", "B"}, 5));
  WriteBytes(dir / "top/b-sub/inner.mgx", Game({"Inner", "B"}, 5));
  WriteBytes(dir / "top/broken.mgx", Le32(0) + "xxxxxxxx");
  WriteBytes(dir / "top/notes.txt", "no recording");
  std::error_code noLinks;  // Windows lets only some users make symbolic links
  fs::create_directory_symlink(dir / "top", dir / "top/b-sub/loop", noLinks);
  // A path as the walk through the folders joins it.
  auto in = [&](const std::string& name) { return q2::JoinPath(dir / "top", name); };
  struct Case {
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> lines;  // path, and name or error
    int code;
  } cases[] = {
      {{dir / "top/c.mgx", dir / "top/missing.mgx", dir / "top/a.mgx"},
       {{dir / "top/c.mgx", "C"}, {dir / "top/missing.mgx", kTextCannotOpen}, {dir / "top/a.mgx", "A"}},
       1},
      {{dir / "top/a.mgx", dir / "top/a.mgx"}, {{dir / "top/a.mgx", "A"}, {dir / "top/a.mgx", "A"}}, 0},
      // The list's order; a subfolder's recordings where the subfolder
      // stands; a link back is not followed again.
      {{"--recursive", dir / "top"},
       {{in("a.mgx"), "A"},
        {q2::JoinPath(in("b-sub"), "inner.mgx"), "Inner"},
        {in("broken.mgx"), kTextCorrupt},
        {in("c.mgx"), "C"}},
       1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"show", "--json"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ProgramRun r = Cli(dir, args);
    EXPECT_EQ(r.code, c.code) << r.err;
    std::vector<std::string> lines;
    std::istringstream out(r.out);
    for (std::string l; std::getline(out, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), c.lines.size()) << r.out;
    for (size_t i = 0; i < lines.size(); ++i) {
      Json j = JsonReader(lines[i]).read();
      ASSERT_FALSE(j.keys().empty());
      EXPECT_EQ(j.keys().front(), "path");
      EXPECT_EQ(j["path"], Q(c.lines[i].first));
      EXPECT_EQ(j.keys().size() == 2 ? j["error"] : j["players/0/name"], Q(c.lines[i].second));
    }
  }
  // Several recordings only as JSON Lines.
  EXPECT_EQ(Cli(dir, {"show", dir / "top/a.mgx", dir / "top/c.mgx"}).code, 2);
}
