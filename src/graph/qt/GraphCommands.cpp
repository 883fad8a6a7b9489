#include "GraphCommands.h"

#include "AgeGraphDlg.h"
#include "PlayerColorDlg.h"
#include "graph/core/age_colors.h"
#include "graph/core/age_shares.h"
#include "settings/core/settings.h"

namespace q2 {

void PrepareAgeGraph(CAgeGraphDlg& dlg, ReplaySummary& s) {
  ComputeAgeShares(s.doc, s.view.ageTimes, s.view.bodyLength);
  std::array<PlayerBar, kSlots> bars;
  for (int i = 0; i < kSlots; ++i)
    bars[i] = {s.view.slotNameTexts[i], s.doc.graphRows[i].shares, PlayerColor(i)};
  dlg.SetPlayerBars(bars);
  dlg.SetEconomyResearch(s.doc.economyResearch);
  dlg.SetBlacksmithResearch(s.doc.blacksmithResearch);
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
