#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace ferlin {

// Error numbers of the outside world that the program reacts to. They follow the numbering of
// the file-system service that the catalogue was first written for, so that the commands can
// tell "not ready, try again" from "no such drive" and from everything else.
namespace PlatformErrorCode {
inline constexpr int BadPath = 5;            // an invalid drive or path argument
inline constexpr int FileNotFound = 53;      // a program or file that does not exist
inline constexpr int DeviceIoError = 57;     // the device failed to read or write
inline constexpr int DiskFull = 61;          // no space left on the destination
inline constexpr int NoSuchDrive = 68;       // a drive that does not exist
inline constexpr int DestinationExists = 70; // an existing destination folder or file
inline constexpr int DiskNotReady = 71;      // no disc mounted, or a missing folder for a drive
inline constexpr int AccessError = 75;       // permission, read-only medium, any other failure
inline constexpr int PathNotFound = 76;      // a folder on the way does not exist
inline constexpr int PrinterError = 482;     // no printer, or the printer failed
} // namespace PlatformErrorCode

// A failure of an outside service: a number and a French description. Thrown by the file,
// drive, program and printer services and trapped by each command, which shows it and ends
// (or, for a drive that is not ready, asks and tries again).
class PlatformError : public std::exception {
public:
    // An error with the standard description of its number.
    explicit PlatformError(int number);
    PlatformError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

    // The French description the program shows for a number ("Le disque n'est pas prêt.").
    static QString standardDescription(int number);
    // The error matching a system error code (errno), by its cause.
    static PlatformError fromErrno(int errorCode);

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace ferlin
