#pragma once
// The icons of the programs' resources: resources/icons/<name>.svg, drawn at
// 16, 24 and 48 pixels when the programs are built. A size is read only when
// something is painted at it.
#include <QIcon>
#include <QString>

namespace logo {

QIcon resourceIcon(const QString &name);

} // namespace logo
