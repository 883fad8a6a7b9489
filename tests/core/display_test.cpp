// The display step: the chat pane's texts and reading the body again.
#include "view/core/display.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/core_support.h"

using namespace q2;
using namespace q2test;

TEST(ChatPane, TheCheckBoxesChooseHeaderAndText) {
  const std::string pre = Cp932("-------ゲーム開始前チャット-------\r\n"), in = Cp932("-------ゲーム開始後チャット-------\r\n");
  ReplayView v;
  v.showPregameChat = 1;
  RefreshChatPaneIfLoaded(v);  // before anything is shown: nothing
  EXPECT_EQ(v.chatText, "");
  v.pregameChat.appendLine("lobby");
  v.ingameChat.appendLine(kWarning + " warn");
  v.ingameChat.appendLine("line");
  v.ingameChatFiltered.appendLine("line");
  // The first refresh comes from the warning box, which builds the pane
  // whatever was shown. Any value but 1 leaves the lobby box unchecked,
  // any non-zero value hides warnings.
  const std::tuple<int, int, std::string> cases[] = {
      {1, 1, pre + "lobby\r\n"}, {0, 1, in + "line\r\n"}, {0, 0, in + kWarning + " warn\r\nline\r\n"}, {2, 5, in + "line\r\n"}};
  for (const auto& [lobby, hide, text] : cases) {
    v.showPregameChat = lobby;
    v.hideWarnings = hide;
    v.chatText.empty() ? RefreshChatPane(v) : RefreshChatPaneIfLoaded(v);
    EXPECT_EQ(v.chatText, text) << lobby << " " << hide;
  }
}

TEST(ShowReplay, ReadsTheBodyAndNeverShowsThePreviousOne) {
  TempDir dir;
  std::string body(5000, '\x01');
  PutCommand(body, 1000, 3, 101, 0);
  PutCommand(body, 2000, 3, 22, 0);
  PutChat(body, 3000, 3, "gg");
  WriteBytes(dir / "x.mgx", gen::Assemble(HeaderBytes().b, body));
  WriteBytes(dir / "quiet.mgx", gen::Assemble(HeaderBytes().b, std::string(100, '\x01')));
  WriteBytes(dir / "short.mgx", Le32(1000) + "abc");  // shorter than its header length
  WriteBytes(dir / "tiny.mgx", "ab");
  ReplaySummary s;
  s.doc.playerNames[2] = "three";
  s.view.slotNameTexts[0] = "stale";
  s.view.ageTimes[0] = {1, 2, 3};
  s.view.castleRank[0] = s.view.castleCount = 1;
  s.view.ingameChat.appendLine("stale");
  ASSERT_TRUE(ShowReplay(dir / "x.mgx", s));
  EXPECT_EQ(s.view.bodyLength, 5000);
  EXPECT_EQ(s.view.slotNameTexts, (std::array<std::string, 8>{"", "", "three"}));
  EXPECT_EQ(s.view.ageTimes[0], (std::array<uint32_t, 3>{}));
  EXPECT_EQ(s.view.castleCount + s.view.castleRank[0], 0);
  EXPECT_EQ(s.view.ageTimes[2][0], 1000u + 84480u);
  EXPECT_EQ(s.view.feudalRank[2], 1);
  EXPECT_EQ(s.doc.economyResearch[2].entries[0], (ResearchEntry{159, 0.4}));
  EXPECT_EQ(s.view.chatText, Cp932("-------ゲーム開始後チャット-------\r\ngg\r\n"));
  // A file without a status: false, nothing changes.
  EXPECT_FALSE(ShowReplay(dir / "missing.mgx", s));
  EXPECT_EQ(s.view.bodyLength + s.doc.economyResearch[2].count, 5001);
  // A body without chat shows the header line alone; a file that can't be
  // read (a folder) or is cut short shows the names and nothing of the
  // previous body.
  for (const std::string& path : {dir / "quiet.mgx", dir.path(), dir / "short.mgx", dir / "tiny.mgx"}) {
    s.view.ingameChatFiltered.appendLine("old");
    EXPECT_TRUE(ShowReplay(path, s));
    EXPECT_EQ(s.view.chatText, Cp932("-------ゲーム開始後チャット-------\r\n"));
    EXPECT_TRUE(s.view.ingameChatFiltered.empty());
    EXPECT_EQ(s.doc.economyResearch[2].count + s.view.feudalCount, 0);
    EXPECT_EQ(s.view.bodyLength, path == dir / "quiet.mgx" ? 100 : 0);
    EXPECT_EQ(s.view.slotNameTexts[2], "three");
  }
}
