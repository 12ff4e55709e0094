#pragma once

#include <QString>

namespace ferlin {

// A line break inside a message or a text the program builds: carriage return and line feed,
// as stored in the catalogue.
inline const QString LineBreak = QStringLiteral("\r\n");

} // namespace ferlin
