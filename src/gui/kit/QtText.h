// Conversions between the core's texts and colours and Qt's.
#pragma once

#include <QColor>
#include <QString>
#include <QUrl>
#include <string>

#include "core/recording/game_info.h"
#include "core/settings/settings.h"

namespace q2 {

inline QString U8(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string ToU8(const QString& s) { return s.toUtf8().toStdString(); }
// Code page 932 bytes (names, chat) for display; CR LF becomes a line break.
QString FromCp932(const std::string& bytes);
// A recording's text (names, chat) in the encoding its game wrote it.
QString FromRecording(const std::string& bytes, TextEncoding encoding);

// Paths are the file system's bytes; Qt reads names as UTF-8 and loses a
// name that is not (one from an archive made on Japanese Windows).
// A path or file name as the user reads it.
QString ShownPath(const std::string& path);
// The deepest folder of the path that Qt can name.
QString QtFolder(const std::string& folder);
// The file system's path for a path Qt gives back (from the open-file
// dialog): a name Qt could not read is found again among its folder's
// names, by Qt's reading of it or by the name as shown.
std::string DiskPath(const QString& qtPath);

// The file system's path of a dropped file's URL: its bytes as the URL
// carries them (a name that is not UTF-8 arrives whole); empty for a URL
// that names no local file.
std::string DiskPathOfUrl(const QUrl& url);

inline QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline ColorRef ToColorRef(const QColor& c) {
  return static_cast<ColorRef>(c.red()) | static_cast<ColorRef>(c.green()) << 8 |
         static_cast<ColorRef>(c.blue()) << 16;
}

}  // namespace q2
