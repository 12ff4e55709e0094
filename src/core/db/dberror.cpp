#include "core/db/dberror.h"

namespace ferlin {

DbError::DbError(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what(QByteArray::number(number) + ' ' + m_description.toUtf8())
{
}

} // namespace ferlin
