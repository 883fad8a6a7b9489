#include "gui/kit/QtText.h"

#include <QDir>

#include "platform/files.h"
#include "platform/text.h"

namespace q2 {

QString FromCp932(const std::string& bytes) {
  QString s = U8(Cp932ToUtf8(bytes));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

QString FromRecording(const std::string& bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Cp932) return FromCp932(bytes);
  QString s = U8(GbkToUtf8(bytes));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

QString ShownPath(const std::string& path) { return U8(DisplayPath(path)); }

QString QtFolder(const std::string& folder) {
  std::string f = folder;
  while (!IsValidUtf8(f)) {
    auto parent = ParentFolder(f);
    if (!parent) return {};
    f = *parent;
  }
  return U8(f);
}

std::string DiskPath(const QString& qtPath) {
  const QString native = QDir::toNativeSeparators(qtPath);
  const std::string direct = ToU8(native);
  if (direct.empty() || PathExists(direct)) return direct;
  const QStringList names = native.split(QChar::fromLatin1(kPathSep));
  std::string resolved = ToU8(names.first());
  if (resolved.empty()) resolved = std::string(1, kPathSep);  // an absolute POSIX path
  for (qsizetype i = 1; i < names.size(); ++i) {
    const QString& name = names[i];
    if (name.isEmpty()) continue;
    std::string next = JoinPath(resolved, ToU8(name));
    if (!PathExists(next)) {
      auto items = ListFolder(resolved);
      if (!items) return direct;
      next.clear();
      for (const DirItem& it : *items)
        if (U8(it.name) == name || ShownPath(it.name) == name) {
          next = JoinPath(resolved, it.name);
          break;
        }
      if (next.empty()) return direct;
    }
    resolved = std::move(next);
  }
  return resolved;
}

std::string DiskPathOfUrl(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  // Another machine's file (file://host/...) is not this machine's file of
  // the same path; Windows reads such a URL as a share, which is one.
  if (kPathSep == '/' && !url.host().isEmpty() && url.host() != QLatin1String("localhost")) return {};
  // Windows names are UTF-16, which Qt's reading keeps whole.
  if (kPathSep == '\\') return ToU8(QDir::toNativeSeparators(url.toLocalFile()));
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace q2
