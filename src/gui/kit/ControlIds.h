// The controls' and commands' ids, as the original forms numbered them.
// Windows find their controls by these (object names "id<N>"), and tests
// press them by name.
#pragma once

#include <QString>

namespace q2::id {

// Dialog buttons.
inline constexpr int kOk = 1, kCancel = 2;

// The main view.
inline constexpr int kUp = 1054, kBack = 1055, kForward = 1056, kOpenFile = 1058, kDesktop = 1060;
inline constexpr int kSelectedRename = 1061, kBulkRename = 1059, kGraph = 1085;
inline constexpr int kFolderBox = 1049, kFolderList = 1041, kChat = 1003;
inline constexpr int kHideWarnings = 1013, kPregameChat = 1045, kChatTimes = 1046;
inline constexpr int kGameLength = 1086, kGameLengthText = 1087;
inline constexpr int kDetails = 1088, kDetailsText = 1089;
// The folder caption as a box to type a path in.
inline constexpr int kFolderPath = 1190;

// The rename format dialog and the history dialog.
inline constexpr int kPreview = 1001, kHistoryDelete = 1001, kDateInsert = 1010, kHistory = 1058;

// Menu commands.
inline constexpr int kPlayerColors = 148, kSetStartupFolder = 32779, kResetAgeColors = 32780;
inline constexpr int kFileNew = 57600, kFileOpen = 57601, kFileSave = 57603, kFileSaveAs = 57604;
inline constexpr int kEditCopy = 57634, kEditCut = 57635, kEditPaste = 57637, kEditUndo = 57643;
inline constexpr int kStatusBar = 59393, kAbout = 100, kExit = 57665;
// 表示 → 文字コード: 自動, 日本語, 中国語.
inline constexpr int kEncodingAuto = 32790, kEncodingJapanese = 32791, kEncodingChinese = 32792;
// 表示 → 最新の情報に更新, 隠しフォルダを表示.
inline constexpr int kRefresh = 32793, kShowHidden = 32794;

// The object name a control with this id carries.
inline QString ObjectName(int id) { return QStringLiteral("id%1").arg(id); }

}  // namespace q2::id
