#pragma once
// The application's icon: a magnifier over a dotted line with a red numbered mark.

#include <QIcon>

namespace sxf {

QIcon ApplicationIcon();

}  // namespace sxf
