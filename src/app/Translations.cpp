#include "app/Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sxf {

QTranslator* InstallQtTranslations() {
  auto* translator = new QTranslator(QApplication::instance());
  if (!translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QApplication::installTranslator(translator);
  return translator;
}

}  // namespace sxf
