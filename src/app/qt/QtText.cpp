#include "QtText.h"

#include "platform/text.h"

namespace q2 {

QString FromCp932(const std::string& bytes) {
  QString s = U8(Cp932ToUtf8(bytes));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

}  // namespace q2
