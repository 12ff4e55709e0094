#pragma once

#include "fakes/fakemessagebox.h"

#include <QString>

#include <ostream>

// Readable failure output for texts and recorded messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace ferlin {
inline void PrintTo(const RecordedMessage &m, std::ostream *out)
{
    *out << "{icon " << int(m.icon) << ", buttons " << int(m.buttons) << ", title "
         << (m.title ? '"' + m.title->toStdString() + '"' : std::string("none")) << ", text \""
         << m.text.toStdString() << "\"}";
}
} // namespace ferlin
