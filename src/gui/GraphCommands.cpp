#include "gui/GraphCommands.h"

#include "gui/AgeGraphDlg.h"
#include "gui/PlayerColorDlg.h"
#include "core/settings/age_colors.h"
#include "core/graph/age_shares.h"
#include "core/settings/settings.h"
#include "core/recording/display.h"

namespace q2 {

void PrepareAgeGraph(CAgeGraphDlg& dlg, ReplaySummary& s) {
  ComputeAgeShares(s.doc, s.view.ageTimes, s.view.bodyLength);
  std::array<PlayerBar, kSlots> bars;
  for (int i = 0; i < kSlots; ++i)
    bars[i] = {s.view.slotNameTexts[i], s.doc.graphRows[i].shares, PlayerColor(i), s.view.textEncoding};
  dlg.SetPlayerBars(bars);
  dlg.SetEconomyResearch(s.doc.economyResearch);
  dlg.SetBlacksmithResearch(s.doc.blacksmithResearch);
  std::array<AgeShares, kSlots> gameShares;
  std::array<std::vector<AgeSpan>, kSlots> spans;
  const uint64_t length = s.view.bodyLength > 0 ? s.view.gameDurationMs : 0;
  for (int i = 0; i < kSlots; ++i) {
    const uint64_t f = AgeReachedMs(s.view, i, kFeudal), c = AgeReachedMs(s.view, i, kCastle),
                   m = AgeReachedMs(s.view, i, kImperial);
    gameShares[i] = GameTimeSharesOf(f, c, m, length);
    spans[i] = AgeSpansOf(f, c, m, length);
  }
  dlg.SetGameClock(length, gameShares, spans, s.view.clockComplete);
}

void ShowAgeGraph(QWidget* owner, ReplaySummary& s) {
  CAgeGraphDlg dlg(owner);
  PrepareAgeGraph(dlg, s);
  dlg.exec();
}

void OnPlayerColors(QWidget* owner) {
  CPlayerColorDlg dlg(owner);
  dlg.exec();
}

void OnResetAgeColors() { ResetAgeColors(SettingsPath()); }

}  // namespace q2
