#include "core/platform/platformerror.h"

#include <cerrno>
#include <utility>

namespace ferlin {

PlatformError::PlatformError(int number) : PlatformError(number, standardDescription(number)) {}

PlatformError::PlatformError(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what(QByteArray::number(number) + ' ' + m_description.toUtf8())
{
}

QString PlatformError::standardDescription(int number)
{
    switch (number) {
    case PlatformErrorCode::BadPath:
        return QStringLiteral("Argument ou appel de procédure incorrect");
    case PlatformErrorCode::FileNotFound:
        return QStringLiteral("Fichier introuvable");
    case PlatformErrorCode::DeviceIoError:
        return QStringLiteral("Erreur d'entrée/sortie sur le périphérique");
    case PlatformErrorCode::DiskFull:
        return QStringLiteral("Disque plein");
    case PlatformErrorCode::NoSuchDrive:
        return QStringLiteral("Périphérique non disponible");
    case PlatformErrorCode::DestinationExists:
        return QStringLiteral("La destination existe déjà");
    case PlatformErrorCode::DiskNotReady:
        return QStringLiteral("Le disque n'est pas prêt.");
    case PlatformErrorCode::AccessError:
        return QStringLiteral("Erreur d'accès au chemin ou au fichier");
    case PlatformErrorCode::PathNotFound:
        return QStringLiteral("Chemin d'accès introuvable");
    case PlatformErrorCode::PrinterError:
        return QStringLiteral("Erreur d'imprimante");
    default:
        return QStringLiteral("Erreur inattendue");
    }
}

PlatformError PlatformError::fromErrno(int errorCode)
{
    using namespace PlatformErrorCode;
    switch (errorCode) {
    case ENOENT:
    case ENOTDIR:
        return PlatformError(PathNotFound);
    case EEXIST:
    case ENOTEMPTY:
        return PlatformError(DestinationExists);
    case ENOMEDIUM:
        return PlatformError(DiskNotReady);
    case ENODEV:
    case ENXIO:
        return PlatformError(NoSuchDrive);
    case EINVAL:
    case ENAMETOOLONG:
    case ELOOP:
        return PlatformError(BadPath);
    case EACCES:
    case EPERM:
        return PlatformError(AccessError, QStringLiteral("Accès refusé : droits insuffisants"));
    case EROFS:
        return PlatformError(AccessError, QStringLiteral("Le support est en lecture seule"));
    case ENOSPC:
    case EDQUOT:
        return PlatformError(DiskFull);
    case EIO:
        return PlatformError(DeviceIoError);
    default:
        return PlatformError(AccessError);
    }
}

} // namespace ferlin
