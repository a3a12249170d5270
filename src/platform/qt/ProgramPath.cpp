#include "platform/qt/ProgramPath.h"

#include <QCoreApplication>
#include <QDir>

namespace sxf {

std::string ProgramFilePath() {
  return QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString();
}

std::string ProgramFolderPath() {
  QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
  if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
  return folder.toStdString();
}

}  // namespace sxf
