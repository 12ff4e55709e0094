#include "core/context/settings.h"

#include <QLocale>

#include <cmath>

namespace ferlin {

const std::array<QString, Settings::PrintFieldCount> &Settings::printFieldNames()
{
    static const std::array<QString, PrintFieldCount> names = {
        QStringLiteral("Prn_Titre"),    QStringLiteral("Prn_Soustitre"),
        QStringLiteral("Prn_Auteur"),   QStringLiteral("Prn_Numero"),
        QStringLiteral("Prn_Volume"),   QStringLiteral("Prn_An"),
        QStringLiteral("Prn_Mois"),     QStringLiteral("Prn_Page"),
        QStringLiteral("Prn_NbPages"),  QStringLiteral("Prn_Domaine"),
        QStringLiteral("Prn_PtVue"),    QStringLiteral("Prn_Niveau"),
        QStringLiteral("Prn_MotsCles"), QStringLiteral("Prn_Resume"),
        QStringLiteral("Prn_Criteres"), QStringLiteral("Prn_Numerotation")};
    return names;
}

void Settings::setTextsOnCd(bool on)
{
    textsOnCd = on;
    if (on)
        textsOnHardDisk = false;
}

void Settings::setTextsOnHardDisk(bool on)
{
    textsOnHardDisk = on;
    if (on)
        textsOnCd = false;
}

std::optional<int> storedInteger(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(t, &ok);
    if (!ok)
        value = QLocale(QLocale::French).toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding: half to even
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return int(rounded);
}

std::optional<bool> storedBoolean(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 ||
        t.compare(QStringLiteral("Vrai"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0 ||
        t.compare(QStringLiteral("Faux"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok)
        return std::nullopt;
    return value != 0;
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace ferlin
