#pragma once
// The application's icon: a magnifier over a dotted line with a red numbered mark.

#include <QByteArray>
#include <QIcon>

namespace sxf {

QIcon ApplicationIcon();

// The same picture as a Windows icon file (16, 24, 32 and 48 pixels, 32-bit with alpha), for
// the Windows programs' resources.
QByteArray ApplicationIconFile();

}  // namespace sxf
