// quoril2-cli show: opens a recording as the window does and prints what it
// holds.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text.h"
#include "graph/core/age_shares.h"
#include "json_writer.h"
#include "replay/core/tech_table.h"
#include "view/core/open_replay.h"

namespace q2::cli {
namespace {

std::vector<std::string> Lines(const std::string& cp932) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < cp932.size()) {
    size_t e = cp932.find("\r\n", pos);
    if (e == std::string::npos) e = cp932.size();
    out.push_back(Cp932ToUtf8(std::string_view(cp932).substr(pos, e - pos)));
    pos = e + 2;
  }
  return out;
}

std::string JsonLines(const std::string& cp932) {
  std::string out = "[";
  bool first = true;
  for (const std::string& l : Lines(cp932)) {
    out += (first ? "" : ", ") + JsonString(l);
    first = false;
  }
  return out + "]";
}

std::string JsonResearch(const ResearchList& l) {
  std::string out = "[";
  for (int i = 0; i < l.count; ++i)
    out += (i ? ", " : "") + std::string("{\"iconId\": ") + std::to_string(l.entries[i].iconId) +
           ", \"when\": " + JsonNumber(l.entries[i].when) + "}";
  return out + "]";
}

void PrintJson(const ReplaySummary& s, const Messages& messages) {
  const ReplayDocument& d = s.doc;
  const ReplayView& v = s.view;
  std::string o = "{\"recorderSlot\": " + std::to_string(d.recorderSlot) + ",\n \"players\": [";
  for (int i = 0; i < kSlots; ++i)
    o += (i ? ", " : "") + std::string("{\"slot\": ") + std::to_string(i + 1) +
         ", \"name\": " + JsonString(Cp932ToUtf8(d.playerNames[i])) +
         ", \"team\": " + std::to_string(d.playerTeams[i]) + "}";
  o += "],\n \"perspectivePlayer\": " + JsonString(Cp932ToUtf8(v.perspectivePlayerText)) +
       ", \"allyTeam\": " + JsonString(Cp932ToUtf8(v.allyTeamText)) +
       ", \"enemyTeam\": " + JsonString(Cp932ToUtf8(v.enemyTeamText)) + ",\n";
  o += " \"pregameChat\": " + JsonLines(v.pregameChat.str()) +
       ", \"ingameChat\": " + JsonLines(v.ingameChat.str()) +
       ", \"ingameChatFiltered\": " + JsonLines(v.ingameChatFiltered.str()) + ",\n";
  o += " \"bodyLength\": " + std::to_string(v.bodyLength) + ",\n \"ages\": [";
  for (int i = 0; i < kSlots; ++i)
    o += (i ? ", " : "") + std::string("{\"slot\": ") + std::to_string(i + 1) +
         ", \"feudal\": " + std::to_string(v.ageTimes[i][0]) +
         ", \"castle\": " + std::to_string(v.ageTimes[i][1]) +
         ", \"imperial\": " + std::to_string(v.ageTimes[i][2]) +
         ", \"feudalRank\": " + std::to_string(v.feudalRank[i]) +
         ", \"castleRank\": " + std::to_string(v.castleRank[i]) +
         ", \"imperialRank\": " + std::to_string(v.imperialRank[i]) + "}";
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
  o += "]}\n";
  std::fwrite(o.data(), 1, o.size(), stdout);
}

std::string AgeText(uint32_t t, int rank) {
  if (t == 0) return "-";
  return std::to_string(t) + " (" + std::to_string(rank) + "位)";
}

void PrintText(const ReplaySummary& s, const Messages& messages) {
  const ReplayDocument& d = s.doc;
  const ReplayView& v = s.view;
  std::string o;
  for (const Message& m : messages) o += "[" + m.caption + "] " + m.text + "\n";
  o += "記録者スロット: " + std::to_string(d.recorderSlot) + "\n";
  o += "プレイヤー:\n";
  for (int i = 0; i < kSlots; ++i) {
    if (d.playerNames[i].empty() && d.playerTeams[i] == 0) continue;
    o += "  " + std::to_string(i + 1) + ": " + Cp932ToUtf8(d.playerNames[i]) +
         "  (チーム値 " + std::to_string(d.playerTeams[i]) + ")\n";
  }
  o += "視点プレイヤー：" + Cp932ToUtf8(v.perspectivePlayerText) + "\n";
  o += "味方チーム：" + Cp932ToUtf8(v.allyTeamText) + "\n";
  o += "敵チーム：" + Cp932ToUtf8(v.enemyTeamText) + "\n";
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
    for (const std::string& l : Lines(text)) o += "  " + l + "\n";
  };
  chat("-------ゲーム開始前チャット-------", v.pregameChat.str());
  chat("-------ゲーム開始後チャット-------", v.ingameChat.str());
  std::fwrite(o.data(), 1, o.size(), stdout);
}

}  // namespace

int RunShow(const std::vector<std::string>& args) {
  bool json = false;
  std::string file;
  for (const std::string& a : args) {
    if (a == "--json")
      json = true;
    else if (!a.empty() && a[0] == '-' && a != "-")
      return 2;
    else if (file.empty())
      file = a;
    else
      return 2;
  }
  if (file.empty()) return 2;
  ReplaySummary s;
  OpenResult r = OpenReplay(file, s);
  if (!r.ok) {
    for (const Message& m : r.messages) std::fprintf(stderr, "%s\n", m.text.c_str());
    // A step that fails without a message of its own still needs one here.
    if (r.messages.empty()) std::fprintf(stderr, "%s: 読み込めませんでした\n", file.c_str());
    return 1;
  }
  ComputeAgeShares(s.doc, s.view.ageTimes, s.view.bodyLength);
  if (json)
    PrintJson(s, r.messages);
  else
    PrintText(s, r.messages);
  return 0;
}

}  // namespace q2::cli
