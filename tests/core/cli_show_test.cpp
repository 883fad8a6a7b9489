// quoril2-cli show, run as a program: output shapes, exit codes, messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cli/recording_generator.h"
#include "core_support.h"
#include "graph/core/age_shares.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// A small JSON reader: enough to check the shape of the tool's output.
struct Json {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool b = false;
  double num = 0;
  std::string text;  // a number's own text, or a string's value
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  const Json& operator[](const std::string& key) const {
    for (const auto& [k, v] : members)
      if (k == key) return v;
    static const Json none;
    ADD_FAILURE() << "no key " << key;
    return none;
  }
  const Json& operator[](size_t i) const { return items.at(i); }
  std::vector<std::string> keys() const {
    std::vector<std::string> k;
    for (const auto& m : members) k.push_back(m.first);
    return k;
  }
  std::vector<std::string> strings() const {
    std::vector<std::string> s;
    for (const Json& j : items) s.push_back(j.text);
    return s;
  }
};

class JsonReader {
 public:
  explicit JsonReader(const std::string& s) : s_(s) {}
  bool parse(Json& out) {
    bool ok = value(out);
    space();
    return ok && i_ == s_.size();
  }

 private:
  void space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  bool lit(const char* w) {
    size_t n = std::strlen(w);
    if (s_.compare(i_, n, w) != 0) return false;
    i_ += n;
    return true;
  }
  bool str(std::string& out) {
    if (s_[i_] != '"') return false;
    ++i_;
    while (i_ < s_.size() && s_[i_] != '"') {
      unsigned char c = s_[i_++];
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (i_ >= s_.size()) return false;
      char e = s_[i_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) return false;
          unsigned cp = std::stoul(s_.substr(i_, 4), nullptr, 16);
          i_ += 4;
          if (cp >= 0x80) return false;  // the tool escapes control characters only
          out += static_cast<char>(cp);
          break;
        }
        default: return false;
      }
    }
    if (i_ >= s_.size()) return false;
    ++i_;
    return true;
  }
  bool value(Json& v) {
    space();
    if (i_ >= s_.size()) return false;
    char c = s_[i_];
    if (c == '{') {
      v.kind = Json::Object;
      ++i_;
      space();
      if (s_[i_] == '}') return ++i_, true;
      while (true) {
        space();
        std::string k;
        if (!str(k)) return false;
        space();
        if (s_[i_++] != ':') return false;
        Json m;
        if (!value(m)) return false;
        v.members.emplace_back(k, std::move(m));
        space();
        if (s_[i_] == ',') { ++i_; continue; }
        if (s_[i_] == '}') return ++i_, true;
        return false;
      }
    }
    if (c == '[') {
      v.kind = Json::Array;
      ++i_;
      space();
      if (s_[i_] == ']') return ++i_, true;
      while (true) {
        Json m;
        if (!value(m)) return false;
        v.items.push_back(std::move(m));
        space();
        if (s_[i_] == ',') { ++i_; continue; }
        if (s_[i_] == ']') return ++i_, true;
        return false;
      }
    }
    if (c == '"') {
      v.kind = Json::String;
      return str(v.text);
    }
    if (lit("true")) return v.kind = Json::Bool, v.b = true, true;
    if (lit("false")) return v.kind = Json::Bool, true;
    if (lit("null")) return v.kind = Json::Null, true;
    size_t start = i_;
    if (s_[i_] == '-') ++i_;
    while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.' ||
                              s_[i_] == 'e' || s_[i_] == 'E' || s_[i_] == '+' || s_[i_] == '-'))
      ++i_;
    if (i_ == start) return false;
    v.kind = Json::Number;
    v.text = s_.substr(start, i_ - start);
    v.num = std::strtod(v.text.c_str(), nullptr);
    return true;
  }
  const std::string& s_;
  size_t i_ = 0;
};

using CliRun = q2test::ProgramRun;

CliRun Cli(const q2test::TempDir& dir, const std::vector<std::string>& args) {
  return q2test::RunProgram(QUORIL2_CLI, args, dir.path());
}

size_t SignificantDigits(const std::string& number) {
  size_t n = 0;
  bool started = false;
  for (char c : number.substr(0, number.find_first_of("eE"))) {
    if (!std::isdigit(static_cast<unsigned char>(c))) continue;
    started = started || c != '0';
    n += started;
  }
  return n;
}

Json Parse(const std::string& text) {
  Json j;
  EXPECT_TRUE(JsonReader(text).parse(j)) << text;
  return j;
}

}  // namespace

TEST(CliShow, UsageErrorsExitWithTwo) {
  q2test::TempDir dir;
  q2test::WriteBytes(dir / "a.mgx", "");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"show"}, {"show", "--json"}, {"show", "--bogus", dir / "a.mgx"},
           {"show", dir / "a.mgx", dir / "a.mgx"}, {"frobnicate", dir / "a.mgx"}}) {
    CliRun r = Cli(dir, args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
}

TEST(CliShow, AFailingStepPrintsItsMessageOnStandardErrorOnly) {
  q2test::TempDir dir;
  q2test::WriteBytes(dir / "corrupt.mgx", q2test::Le32(0) + "xxxxxxxx");
  q2test::WriteBytes(dir / "inflate.mgx", q2test::Le32(8) + q2test::Le32(0));
  for (const char* flag : {"--json", ""}) {
    std::vector<std::string> base = {"show"};
    if (*flag) base.push_back(flag);
    auto with = [&](const std::string& f) {
      auto a = base;
      a.push_back(f);
      return a;
    };
    CliRun r = Cli(dir, with(dir / "corrupt.mgx"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, q2test::kTextCorrupt + "\n");
    r = Cli(dir, with(dir / "missing.mgx"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, q2test::kTextCannotOpen + "\n");
    r = Cli(dir, with(dir / "inflate.mgx"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, q2test::kTextInflate + "\n");
  }
  EXPECT_FALSE(fs::exists(dir / "corrupt.dat"));
}

TEST(CliShow, JsonHasExactlyTheDocumentedShape) {
  q2test::TempDir dir;
  q2::gen::GameParams params = q2::gen::TypicalGame({"North", "侍ジャック", "ゆきむら", "West"}, {2, 3, 2, 3}, 3, 21,
                                            240000, 40000);
  params.lobbyChat.push_back({2, "quote \" backslash \\ tab \t end", 0});
  params.chat.push_back({4, "West: 「了解」", 0.8});
  q2::gen::Placed placed;
  q2test::WriteBytes(dir / "game.mgx", q2::gen::BuildRecording(params, &placed));

  CliRun r = Cli(dir, {"show", "--json", dir / "game.mgx"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_FALSE(fs::exists(dir / "game.dat"));
  Json j = Parse(r.out);
  ASSERT_EQ(j.kind, Json::Object);
  EXPECT_EQ(j.keys(), (std::vector<std::string>{"recorderSlot", "players", "perspectivePlayer", "allyTeam",
                                                "enemyTeam", "pregameChat", "ingameChat", "ingameChatFiltered",
                                                "ingameChatMs", "bodyLength", "duration", "clockComplete", "ages",
                                                "research", "ageShares", "messages"}));
  EXPECT_EQ(j["recorderSlot"].text, "3");
  const std::vector<std::string> names = {"North", "侍ジャック", "ゆきむら", "West", "", "", "", ""};
  const std::vector<int> teams = {2, 3, 2, 3};
  ASSERT_EQ(j["players"].items.size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    const Json& p = j["players"][i];
    EXPECT_EQ(p.keys(), (std::vector<std::string>{"slot", "name", "team"}));
    EXPECT_EQ(p["slot"].num, i + 1);
    EXPECT_EQ(p["name"].kind, Json::String);
    EXPECT_EQ(p["name"].text, names[i]);
    EXPECT_EQ(p["team"].kind, Json::Number);
    if (i < 4) {
      EXPECT_EQ(p["team"].num, teams[i]);
    }
  }
  EXPECT_EQ(j["perspectivePlayer"].text, "ゆきむら");
  EXPECT_EQ(j["allyTeam"].text, "North ゆきむら ");
  EXPECT_EQ(j["enemyTeam"].text, "");

  std::vector<std::string> lobby;
  for (const auto& c : params.lobbyChat) lobby.push_back(c.text);
  EXPECT_EQ(j["pregameChat"].strings(), lobby);
  std::vector<std::pair<size_t, std::string>> chat;
  for (size_t i = 0; i < params.chat.size(); ++i) chat.push_back({placed.chatPos[i], params.chat[i].text});
  std::sort(chat.begin(), chat.end());
  std::vector<std::string> all, filtered;
  for (auto& [pos, text] : chat) {
    all.push_back(text);
    if (text.rfind("--警告", 0) != 0) filtered.push_back(text);
  }
  EXPECT_EQ(j["ingameChat"].strings(), all);
  EXPECT_EQ(j["ingameChatFiltered"].strings(), filtered);
  EXPECT_EQ(j["bodyLength"].text, "240000");
  // The generator's own clock: what it wrote, not what the reader computes.
  EXPECT_EQ(j["duration"].num, placed.durationMs);
  EXPECT_EQ(j["clockComplete"].kind, Json::Bool);
  EXPECT_TRUE(j["clockComplete"].b);
  std::vector<std::pair<size_t, uint64_t>> chatTimes;
  for (size_t i = 0; i < params.chat.size(); ++i) chatTimes.push_back({placed.chatPos[i], placed.chatMs[i]});
  std::sort(chatTimes.begin(), chatTimes.end());
  ASSERT_EQ(j["ingameChatMs"].items.size(), chatTimes.size());
  for (size_t i = 0; i < chatTimes.size(); ++i) EXPECT_EQ(j["ingameChatMs"][i].num, chatTimes[i].second);

  ASSERT_EQ(j["ages"].items.size(), 8u);
  std::array<std::array<uint32_t, 3>, 8> times{};
  for (size_t i = 0; i < 8; ++i) {
    const Json& a = j["ages"][i];
    EXPECT_EQ(a.keys(), (std::vector<std::string>{"slot", "feudal", "castle", "imperial", "feudalRank",
                                                  "castleRank", "imperialRank", "feudalMs", "castleMs",
                                                  "imperialMs"}));
    EXPECT_EQ(a["slot"].num, i + 1);
    times[i] = {static_cast<uint32_t>(a["feudal"].num), static_cast<uint32_t>(a["castle"].num),
                static_cast<uint32_t>(a["imperial"].num)};
  }
  for (size_t k = 0; k < params.ages.size(); ++k) {
    const auto& age = params.ages[k];
    const char* key = age.tech == 101 ? "feudal" : age.tech == 102 ? "castle" : "imperial";
    EXPECT_EQ(j["ages"][age.player - 1][key].num, placed.agePos[k] + 84480.0);
    // Reached a fixed research time after the click, unless the game ended first.
    const uint64_t reached = placed.ageMs[k] + (age.tech == 101 ? 130000 : age.tech == 102 ? 160000 : 190000);
    EXPECT_EQ(j["ages"][age.player - 1][std::string(key) + "Ms"].num, reached > placed.durationMs ? 0 : reached);
  }
  EXPECT_EQ(j["ages"][4]["feudalRank"].num, 0);

  ASSERT_EQ(j["research"].items.size(), 8u);
  size_t checked = 0;
  for (size_t i = 0; i < 8; ++i) {
    const Json& res = j["research"][i];
    EXPECT_EQ(res.keys(), (std::vector<std::string>{"slot", "economy", "blacksmith"}));
    EXPECT_EQ(res["slot"].num, i + 1);
    for (const char* cat : {"economy", "blacksmith"}) {
      for (const Json& e : res[cat].items) {
        EXPECT_EQ(e.keys(), (std::vector<std::string>{"iconId", "when", "ms"}));
        // Full precision: the printed number reads back as the very double.
        bool found = false;
        for (size_t k = 0; k < params.researches.size(); ++k)
          if (params.researches[k].player == static_cast<int>(i + 1) &&
              e["when"].num == static_cast<double>(placed.researchPos[k]) / 240000) {
            found = true;
            EXPECT_EQ(e["ms"].num, placed.researchMs[k]);
          }
        EXPECT_TRUE(found) << e["when"].text;
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, params.researches.size());

  ASSERT_EQ(j["ageShares"].items.size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    const Json& row = j["ageShares"][i];
    ASSERT_EQ(row.items.size(), 4u);
    q2::AgeShares want = q2::AgeSharesOf(times[i][0], times[i][1], times[i][2], 240000);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(row[k].num, want[k]) << row[k].text;
      // Values that 15 digits can't hold are printed with (up to) 17.
      char shortForm[40];
      std::snprintf(shortForm, sizeof shortForm, "%.15g", want[k]);
      if (std::strtod(shortForm, nullptr) != want[k]) {
        EXPECT_GE(SignificantDigits(row[k].text), 16u) << row[k].text;
      }
    }
  }
  EXPECT_EQ(j["messages"].kind, Json::Array);
  EXPECT_TRUE(j["messages"].items.empty());
}

TEST(CliShow, MessagesOfASuccessfulOpenAreListed) {
  q2test::TempDir dir;
  q2test::HeaderBytes h(1);
  h.randomGame().tableMarker().record(0, "").record(1, "kept").record(9, "bad").emptyRecords(6);
  q2test::WriteBytes(dir / "slot9.mgx", q2::gen::Assemble(h.b, std::string(50, '\x01')));
  CliRun r = Cli(dir, {"show", "--json", dir / "slot9.mgx"});
  ASSERT_EQ(r.code, 0);
  Json j = Parse(r.out);
  EXPECT_EQ(j["messages"].strings(), std::vector<std::string>{"HEADER_DATA_ERROR"});
  EXPECT_EQ(j["players"][0]["name"].text, "kept");
  EXPECT_EQ(j["bodyLength"].num, 50);
  EXPECT_EQ(j["ageShares"][0].items.size(), 4u);

  // The readable form: exit 0, the message and the names.
  r = Cli(dir, {"show", dir / "slot9.mgx"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("HEADER_DATA_ERROR"), std::string::npos);
  EXPECT_NE(r.out.find("kept"), std::string::npos);
}

TEST(CliShow, RealRecordingAsTheExampleShowsIt) {
  const std::string source = std::string(QUORIL2_REAL_RECORDINGS) + "/aoc-1.0c.mgx";
  if (!fs::is_regular_file(source)) GTEST_SKIP() << source << " is not here";
  q2test::TempDir dir;
  q2test::WriteBytes(dir / "aoc.mgx", q2test::ReadBytes(source));
  CliRun r = Cli(dir, {"show", "--json", dir / "aoc.mgx"});
  ASSERT_EQ(r.code, 0);
  Json j = Parse(r.out);
  EXPECT_EQ(j["players"][0]["name"].text, "North");
  EXPECT_EQ(j["perspectivePlayer"].text, "North");
  EXPECT_EQ(j["bodyLength"].num, 1885669);
  EXPECT_EQ(j["ages"][0]["feudal"].num, 392223);
  EXPECT_EQ(j["ages"][0]["castle"].num, 780464);
  EXPECT_EQ(j["ages"][0]["imperial"].num, 1541626);
  EXPECT_EQ(j["research"][0]["economy"][0]["iconId"].num, 159);
  EXPECT_EQ(j["research"][0]["economy"][0]["when"].num, 145130.0 / 1885669);
  EXPECT_EQ(j["ageShares"][0][0].text.substr(0, 4), "2.08");
  EXPECT_EQ(j["ageShares"][0][3].text.substr(0, 4), "1.82");
}

TEST(CliShow, ManyRecordingsGiveOneJsonLineEachInOrderAndGoOnPastFailures) {
  q2test::TempDir dir;
  auto game = [&](const std::string& path, const std::string& name) {
    q2test::WriteBytes(path, q2::gen::BuildRecording(q2::gen::TypicalGame({name, "B"}, {2, 3}, 1, 5, 20000, 4000)));
  };
  fs::create_directories(dir / "top/b-sub");
  game(dir / "top/c.mgx", "C");
  game(dir / "top/a.mgx", "A");
  game(dir / "top/b-sub/inner.mgx", "Inner");
  q2test::WriteBytes(dir / "top/broken.mgx", q2test::Le32(0) + "xxxxxxxx");
  q2test::WriteBytes(dir / "top/notes.txt", "no recording");
  std::error_code noLinks;  // Windows lets only some users make symbolic links
  fs::create_directory_symlink(dir / "top", dir / "top/b-sub/loop", noLinks);

  // A path as the walk through the folders joins it.
  auto in = [&](const std::string& name) { return q2::JoinPath(dir / "top", name); };
  // (arguments, expected path and name-or-error of each line, exit code)
  struct Case {
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> lines;
    int code;
  } cases[] = {
      {{dir / "top/c.mgx", dir / "top/missing.mgx", dir / "top/a.mgx"},
       {{dir / "top/c.mgx", "C"}, {dir / "top/missing.mgx", q2test::kTextCannotOpen}, {dir / "top/a.mgx", "A"}},
       1},
      {{dir / "top/a.mgx", dir / "top/a.mgx"}, {{dir / "top/a.mgx", "A"}, {dir / "top/a.mgx", "A"}}, 0},
      // The list's order; a subfolder's recordings where the subfolder stands; a link back is not followed again.
      {{"--recursive", dir / "top"},
       {{in("a.mgx"), "A"},
        {q2::JoinPath(in("b-sub"), "inner.mgx"), "Inner"},
        {in("broken.mgx"), q2test::kTextCorrupt},
        {in("c.mgx"), "C"}},
       1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"show", "--json"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CliRun r = Cli(dir, args);
    EXPECT_EQ(r.code, c.code) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), c.lines.size()) << r.out;
    for (size_t i = 0; i < lines.size(); ++i) {
      Json j = Parse(lines[i]);
      ASSERT_FALSE(j.keys().empty());
      EXPECT_EQ(j.keys().front(), "path");
      EXPECT_EQ(j["path"].text, c.lines[i].first);
      const std::string& want = c.lines[i].second;
      if (j.keys().size() == 2)
        EXPECT_EQ(j["error"].text, want);
      else
        EXPECT_EQ(j["players"][0]["name"].text, want);
    }
  }
  // Several recordings only as JSON Lines.
  EXPECT_EQ(Cli(dir, {"show", dir / "top/a.mgx", dir / "top/c.mgx"}).code, 2);
}
