// The graph and colour commands as the main window runs them.
#pragma once

#include "core/recording/replay_summary.h"

class QWidget;

namespace q2 {

class CAgeGraphDlg;

// Computes the age shares into the document's graph rows and hands the
// names, shares, player colours and research lists to the dialog.
void PrepareAgeGraph(CAgeGraphDlg& dlg, ReplaySummary& s);

// Button "グラフ一覧表示": computes the age shares into the document's graph
// rows and runs the graph modally with the names, shares, research lists and
// player colours. Works with no recording open too (all bars Dark).
void ShowAgeGraph(QWidget* owner, ReplaySummary& s);

// Menu "プレイヤー表示色設定".
void OnPlayerColors(QWidget* owner);

// Menu "進化グラフの時代表示色をDefault値に戻す": writes the four default age
// colours into the settings file, without asking.
void OnResetAgeColors();

}  // namespace q2
