// Every Japanese text the program shows or matches, in one place: the core
// returns typed results and named constants, and these are their words.
// Names and wording are the system's own; tests keep their own copies, so a
// typo here shows up there.
#pragma once

namespace q2 {

// Opening a recording.
inline constexpr const char* kMsgCannotOpen = "ファイルをオープンできませんでした";
inline constexpr const char* kMsgCorrupt = "解凍エラーです(ファイルが壊れています)";
inline constexpr const char* kMsgInflate = "解凍エラーです";
inline constexpr const char* kMsgScenario = "シナリオには未対応ですナッ ( ゜Д゜)y ＼_ ポロッ";

// The chat pane's headings.
inline constexpr const char* kPregameHeader = "-------ゲーム開始前チャット-------";
inline constexpr const char* kIngameHeader = "-------ゲーム開始後チャット-------";

// The folder list's kinds and caption.
inline constexpr const char* kTypeRecording = "mgxﾌｧｲﾙ";
inline constexpr const char* kTypeRecordingMgz = "mgzﾌｧｲﾙ";
inline constexpr const char* kTypeRecordingMgl = "mglﾌｧｲﾙ";
inline constexpr const char* kTypeFolder = "ﾃﾞｨﾚｸﾄﾘ";
inline constexpr const char* kDesktopWord = "デスクトップ";
inline constexpr const char* kMsgMissingFolder = "指定のﾃﾞｨﾚｸﾄﾘが見つかりません\n参照ﾃﾞｨﾚｸﾄﾘをﾃﾞｽｸﾄｯﾌﾟに設定します。";
inline constexpr const char* kCaptionMissingFolder = "ﾃﾞｨﾚｸﾄﾘ参照ｴﾗｰ";
inline constexpr const char* kMsgNoSuchFolder = "そのフォルダは見つかりません：\n";
inline constexpr const char* kMsgCannotListFolder = "フォルダの中身を読み込めませんでした";

// The list's pop-up "ﾌﾟﾛﾊﾟﾃｨ": the box's caption and its lines' labels.
inline constexpr const char* kCaptionProperties = "ﾌﾟﾛﾊﾟﾃｨ";
inline constexpr const char* kPropName = "名前：";
inline constexpr const char* kPropKind = "種類：";
inline constexpr const char* kPropPlace = "場所：";
inline constexpr const char* kPropSize = "サイズ：";
inline constexpr const char* kPropBytes = " バイト";
inline constexpr const char* kPropCreated = "作成日時：";
inline constexpr const char* kPropModified = "更新日時：";
inline constexpr const char* kPropAccessed = "アクセス日時：";
inline constexpr const char* kPropGameTime = "ゲーム時間：";
inline constexpr const char* kPropUnknown = "不明";

// The settings file.
inline constexpr const char* kMsgStartupFolderTooLong =
    "このﾌｫﾙﾀﾞはﾊﾟｽが長すぎるため\n起動時の参照場所にできません(´・ω・`)\n(ﾊﾟｽは259ﾊﾞｲﾄまでです)";
inline constexpr const char* kCaptionIniWrite = "iniﾌｧｲﾙ書き込みｴﾗｰ";
inline constexpr const char* kMsgSaveGameDirUnread =
    "SaveGameのﾃﾞｨﾚｸﾄﾘﾊﾟｽの読み込みに失敗しました\nﾃﾞﾌｫﾙﾄのﾃﾞｨﾚｸﾄﾘﾊﾟｽ設定を使用します。";
inline constexpr const char* kCaptionIniRead = "iniﾌｧｲﾙ読み込みｴﾗｰ";

// A first start under Wine: the folder chosen for the list.
inline constexpr const char* kCaptionFirstStart = "はじめての起動";
inline constexpr const char* kMsgFirstStartFound = "Age of Empires II の SaveGame フォルダを見つけました。\nここを起動時の参照場所にします：\n";
inline constexpr const char* kMsgFirstStartHome =
    "Age of Empires II の SaveGame フォルダが見つからないため\nホームフォルダを起動時の参照場所にします：\n";
inline constexpr const char* kMsgFirstStartTail = "\n\nﾌｧｲﾙ メニューの「このフォルダを起動時の参照場所にする」で変えられます。";

// The game's default recording names.
inline constexpr const char* DefaultNamePrefix = "記録されたゲーム -  ";
inline constexpr const char* DefaultNamePattern = "記録されたゲーム -  ?\?-*-???? ??`??`??.mgx";

// The rename format language: its team token, the default format, the
// game-time format and the descriptions in the token list.
inline constexpr const char* kTokenTeamVs = "チーム別";
inline constexpr const char* kTokenAlly = "味方";
inline constexpr const char* kDefaultRenameFormat = "[REC_PLAYER]：[YEAR]年[MONTH]月[DAY]日：[チーム別]";
inline constexpr const char* kGameTimeFormat = "%llu分%02llu秒";
inline constexpr const char* kDescribeRecPlayer = "記録者名";
inline constexpr const char* kDescribeAll = "P1～P8";
inline constexpr const char* kDescribeTeamVs = "ﾁｰﾑA vs ﾁｰﾑB";
inline constexpr const char* kDescribeAlly = "記録者のﾁｰﾑのﾌﾟﾚｲﾔｰ名";
inline constexpr const char* kDescribeGameTime = "ｹﾞｰﾑ時間";
inline constexpr const char* kDescribeMap = "ﾏｯﾌﾟ名";
inline constexpr const char* kDescribeMatchup = "2v2";
inline constexpr const char* kDescribeRecCiv = "記録者の文明";
inline constexpr const char* kDescribeWinner = "勝利ﾁｰﾑ";
inline constexpr const char* kMsgFormatTooLong = "変換書式が長すぎるよ(´；ω；`)\n259ﾊﾞｲﾄ(全角なら129文字)までにしてね";

// Renames.
inline constexpr const char* kCaptionBulkRename = "ﾌｧｲﾙ名一括変換処理";
inline constexpr const char* kCaptionSelectedRename = "ﾌｧｲﾙ名選択変換処理";
inline constexpr const char* kCaptionFormatError = "変換処理ｴﾗｰ";
inline constexpr const char* kMsgBulkDone = "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙを\n紳士的に一括変換しました。";
inline constexpr const char* kMsgBulkGentleman = "貴方もこれで紳士です(´'ω'｀)";
inline constexpr const char* kMsgBulkNoMatch = "ﾌｧｲﾙ名がﾃﾞﾌｫﾙﾄのReplayﾌｧｲﾙが存在しません";
inline constexpr const char* kMsgBulkFailed = "一部のﾌｧｲﾙ名の変換に失敗しました";
inline constexpr const char* kMsgSelectedDone = "選択されたReplayﾌｧｲﾙが\n紳士的に変換されました。";
inline constexpr const char* kMsgSelectedGentleman = "なかなか紳士ですﾅｯ ( ﾟДﾟ)y ＼_ ﾎﾟﾛｯ";
inline constexpr const char* kMsgSelectedFailed = "使用不可な文字が挿入されてるため変換できません";
inline constexpr const char* kMsgNothingSelected = "Replayﾌｧｲﾙが選択されてませんよ(´・ω・`)";
inline constexpr const char* kMsgMalformedFormat = "変換書式をが不正だよ(´；ω；`)";
inline constexpr const char* kMsgEmptyFormat = "変換書式を入力してよ(´；ω；`)";
inline constexpr const char* kConfirmFormatTail = "\n\nの書式でReplayﾌｧｲﾙ名を変換してよろしいですか？";
// "ﾍｯﾀﾞ情報の読み込みで" N "個のReplayﾌｧｲﾙにｴﾗｰがありました", each named
// recording after "：", then "ほか" N "個".
inline constexpr const char* kHeaderErrorsHead = "ﾍｯﾀﾞ情報の読み込みで";
inline constexpr const char* kHeaderErrorsTail = "個のReplayﾌｧｲﾙにｴﾗｰがありました\n";
inline constexpr const char* kNameSeparator = "：";
inline constexpr const char* kMoreHead = "ほか";
inline constexpr const char* kMoreTail = "個";
// A dry run's last line.
inline constexpr const char* kMsgDryRunOk = "(試行) 上のとおり変換できます。ファイル名はまだ変更していません。";
inline constexpr const char* kMsgDryRunSomeFail = "(試行) 一部のﾌｧｲﾙ名は変換できません。ファイル名はまだ変更していません。";
// Why one recording was not renamed (the command line prints these).
inline constexpr const char* kFailMissing = "ファイルが見つかりません";
inline constexpr const char* kFailHeaderUnreadable = "ヘッダを読み込めませんでした";
inline constexpr const char* kFailEmptyName = "変換後のファイル名が空です";
inline constexpr const char* kFailRefusedCharacter = "ファイル名に使えない文字が含まれています";
inline constexpr const char* kFailTooLong = "ファイル名が長すぎます";
inline constexpr const char* kFailTargetExists = "同じ名前のファイルが既にあります";
inline constexpr const char* kFailRenameFailed = "ファイル名を変更できませんでした";

// The age graph's segment tips: the ages' short names, "〜" between the
// times, and the mark of an estimate.
inline constexpr const char* kAgeShortNames[4] = {"暗黒", "領主", "城主", "帝王"};
inline constexpr const char* kTimeRangeSign = "〜";
inline constexpr const char* kEstimateMark = " (推定)";

// The followed technologies' names as the Japanese game shows them, by the
// game's technology id; nullptr for any other id.
const char* TechNameText(int techId);

}  // namespace q2
