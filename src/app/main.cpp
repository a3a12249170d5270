// sxf-usertype-finder: started by the CAD host after it has written JWC_TEMP.TXT into this
// program's folder, without arguments. Given a path (a drawing file), it shows that instead;
// --version prints the version.

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/AppIcon.h"
#include "app/Translations.h"
#include "app/Unit1.h"
#include "form/WindowSettings.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/IcuTextLocale.h"
#include "platform/qt/KeyState.h"
#include "render/UserBreak.h"
#include "platform/qt/ProgramPath.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("sxf-usertype-finder %s\n", SXF_VERSION);
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(sxf::ApplicationTitle());
  QApplication::setWindowIcon(sxf::ApplicationIcon());
  sxf::InstallFontSubstitutions();
  sxf::InstallQtTranslations();
  sxf::InstallSystemTextLocale();
  sxf::SetUserBreakSource(sxf::EscapeKeyQuery());

  sxf::TForm1 form({sxf::ProgramFolderPath(), sxf::SettingsFileName(sxf::ProgramFilePath())});
  if (const QStringList args = QApplication::arguments(); args.size() == 2)
    form.OpenAtStart(args[1].toStdString());
  form.show();
  return app.exec();
}
