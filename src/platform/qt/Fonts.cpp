#include "platform/qt/Fonts.h"

#include <QFont>
#include <QString>

namespace sxf {

void InstallFontSubstitutions() {
  const QString gothic = QStringLiteral("IPAGothic");
  const QString mincho = QStringLiteral("IPAMincho");
  for (const char* name : {"ＭＳ ゴシック", "MS Gothic", "ＭＳ Ｐゴシック", "MS PGothic"})
    QFont::insertSubstitution(QString::fromUtf8(name), gothic);
  for (const char* name : {"ＭＳ 明朝", "MS Mincho", "ＭＳ Ｐ明朝", "MS PMincho"})
    QFont::insertSubstitution(QString::fromUtf8(name), mincho);
}

}  // namespace sxf
