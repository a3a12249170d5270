// write-app-icon OUT.ico: the window's icon as a Windows icon file. The Windows build has no
// Qt; its resources take the file this writes (packaging/windows/sxf-usertype-finder.ico).

#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "app/AppIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write-app-icon OUT.ico\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QFile out(QString::fromLocal8Bit(argv[1]));
  const QByteArray bytes = sxf::ApplicationIconFile();
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
    std::fprintf(stderr, "write-app-icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
