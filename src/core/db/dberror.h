#pragma once

#include <QString>

#include <exception>

namespace ferlin {

// Error numbers that the program reacts to, as the catalogue's original engine numbered them.
namespace DbErrorCode {
inline constexpr int InvalidUseOfNull = 94;   // a NULL where a value is required
inline constexpr int SubscriptOutOfRange = 9; // more rows than a fixed table holds
inline constexpr int ObjectNotFound = 3011;   // missing table or field
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DuplicateKey = 3022;
inline constexpr int FileNotFound = 3024;
inline constexpr int CannotOpenFile = 3051;
inline constexpr int Cancelled = 3059; // the user stopped the operation
inline constexpr int RecordDeleted = 3167;
inline constexpr int UnsupportedSource = 3131;
inline constexpr int UnrecognizedFormat = 3343;
inline constexpr int TypeMismatch = 3464; // a value of the wrong type in a condition
} // namespace DbErrorCode

// A database failure: a number and a French description, thrown by the database layer and
// trapped by each command, which shows it and ends.
class DbError : public std::exception {
public:
    DbError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace ferlin
