#include "view/core/display.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "cli/recording_generator.h"
#include "core_support.h"
#include "support/temp_dir.h"

using namespace q2;

namespace {
const std::string kPre = Utf8ToCp932("-------ゲーム開始前チャット-------").value();
const std::string kIn = Utf8ToCp932("-------ゲーム開始後チャット-------").value();

ReplayView ViewWithChat() {
  ReplayView v;
  v.pregameChat.appendLine("lobby");
  v.ingameChat.appendLine("--\x8C\x78\x8D\x90 warn");
  v.ingameChat.appendLine("line");
  v.ingameChatFiltered.appendLine("line");
  return v;
}
}  // namespace

TEST(ChatPane, TheCheckBoxesChooseHeaderAndText) {
  ReplayView v = ViewWithChat();
  v.showPregameChat = 1;
  v.hideWarnings = 1;
  RefreshChatPane(v);
  EXPECT_EQ(v.chatText, kPre + "\r\nlobby\r\n");
  v.showPregameChat = 0;
  RefreshChatPane(v);
  EXPECT_EQ(v.chatText, kIn + "\r\nline\r\n");
  v.hideWarnings = 0;
  RefreshChatPane(v);
  EXPECT_EQ(v.chatText, kIn + "\r\n--\x8C\x78\x8D\x90 warn\r\nline\r\n");
  // Any value but 1 means unchecked for the lobby box; any non-zero value
  // hides warnings.
  v.showPregameChat = 2;
  v.hideWarnings = 5;
  RefreshChatPane(v);
  EXPECT_EQ(v.chatText, kIn + "\r\nline\r\n");
}

TEST(ChatPane, BeforeAnyOpenOnlyTheWarningBoxBuildsThePane) {
  ReplayView v;
  v.showPregameChat = 1;
  RefreshChatPaneIfLoaded(v);
  EXPECT_EQ(v.chatText, "");
  v.showPregameChat = 0;
  v.hideWarnings = 1;
  RefreshChatPane(v);
  EXPECT_EQ(v.chatText, kIn + "\r\n");
  v.showPregameChat = 1;
  RefreshChatPaneIfLoaded(v);
  EXPECT_EQ(v.chatText, kPre + "\r\n");
}

TEST(ShowReplay, ReadsTheBodyAndResetsWhatThePreviousOpenLeft) {
  q2test::TempDir dir;
  std::string body(5000, '\x01');
  q2test::PutCommand(body, 1000, 3, 101, 0);
  q2test::PutCommand(body, 2000, 3, 22, 0);
  q2test::PutChat(body, 3000, 3, "gg");
  const std::string path = dir / "x.mgx";
  q2test::WriteBytes(path, gen::Assemble(q2test::HeaderBytes().b, body));

  ReplaySummary s;
  s.doc.playerNames[2] = "three";
  s.view.slotNameTexts[0] = "stale";
  s.view.ageTimes[0] = {1, 2, 3};
  s.view.castleRank[0] = 1;
  s.view.castleCount = 1;
  s.view.ingameChat.appendLine("stale");
  s.view.showPregameChat = 0;
  ASSERT_TRUE(ShowReplay(path, s));
  EXPECT_EQ(s.view.bodyLength, 5000);
  EXPECT_EQ(s.view.slotNameTexts, (std::array<std::string, 8>{"", "", "three", "", "", "", "", ""}));
  EXPECT_EQ(s.view.ageTimes[0], (std::array<uint32_t, 3>{}));
  EXPECT_EQ(s.view.castleCount, 0);
  EXPECT_EQ(s.view.castleRank[0], 0);
  EXPECT_EQ(s.view.ageTimes[2][0], 1000u + 84480u);
  EXPECT_EQ(s.view.feudalRank[2], 1);
  ASSERT_EQ(s.doc.economyResearch[2].count, 1);
  EXPECT_EQ(s.doc.economyResearch[2].entries[0].when, 0.4);
  EXPECT_EQ(s.view.ingameChat.str(), "gg\r\n");
  EXPECT_EQ(s.view.chatText, kIn + "\r\ngg\r\n");

  // A body without chat shows the header line alone.
  q2test::WriteBytes(path, gen::Assemble(q2test::HeaderBytes().b, std::string(100, '\x01')));
  ASSERT_TRUE(ShowReplay(path, s));
  EXPECT_EQ(s.view.chatText, kIn + "\r\n");
  EXPECT_EQ(s.doc.economyResearch[2].count, 0);
}

TEST(ShowReplay, AFileThatCannotBeReadShowsNamesAndNothingOfThePreviousBody) {
  q2test::TempDir dir;
  ReplaySummary s;
  s.doc.playerNames[0] = "name";
  s.doc.economyResearch[0].count = 1;
  s.doc.economyResearch[0].entries[0] = {159, 0.2};
  s.view.bodyLength = 1234;
  s.view.feudalCount = 1;
  s.view.ingameChat.appendLine("old");
  s.view.ingameChatFiltered.appendLine("old");

  // Its status can't be obtained: result false, nothing changes.
  EXPECT_FALSE(ShowReplay(dir / "missing.mgx", s));
  EXPECT_EQ(s.view.bodyLength, 1234);
  EXPECT_EQ(s.view.ingameChat.str(), "old\r\n");
  EXPECT_EQ(s.view.slotNameTexts[0], "");

  // It can't be read (a folder): result true, names shown, empty chat, no
  // research or age of the previous recording.
  EXPECT_TRUE(ShowReplay(dir.path(), s));
  EXPECT_EQ(s.view.slotNameTexts[0], "name");
  EXPECT_TRUE(s.view.ingameChat.empty());
  EXPECT_TRUE(s.view.ingameChatFiltered.empty());
  EXPECT_EQ(s.view.feudalCount, 0);
  EXPECT_EQ(s.doc.economyResearch[0].count, 0);
  EXPECT_EQ(s.view.bodyLength, 0);
  EXPECT_EQ(s.view.chatText, kIn + "\r\n");

  // Shorter than its own header length (changed since it was extracted).
  q2test::WriteBytes(dir / "short.mgx", q2test::Le32(1000) + "abc");
  s.doc.economyResearch[0].count = 1;
  EXPECT_TRUE(ShowReplay(dir / "short.mgx", s));
  EXPECT_EQ(s.doc.economyResearch[0].count, 0);
  EXPECT_EQ(s.view.bodyLength, 0);
  q2test::WriteBytes(dir / "tiny.mgx", "ab");
  EXPECT_TRUE(ShowReplay(dir / "tiny.mgx", s));
  EXPECT_EQ(s.view.bodyLength, 0);
}
