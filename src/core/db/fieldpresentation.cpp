#include "core/db/fieldpresentation.h"

#include <QHash>

namespace ferlin {

QString JoinListField(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // the line feed that follows makes the break
        if (c == u'\n')
            out += QStringLiteral(" ; ");
        else
            out += c;
    }
    return out;
}

QString BasketMonthCode(const QString &month)
{
    static const QHash<QString, QString> codes = {
        {QStringLiteral("janvier"), QStringLiteral("01")},
        {QStringLiteral("février"), QStringLiteral("02")},
        {QStringLiteral("mars"), QStringLiteral("03")},
        {QStringLiteral("avril"), QStringLiteral("04")},
        {QStringLiteral("mai"), QStringLiteral("05")},
        {QStringLiteral("juin"), QStringLiteral("06")},
        {QStringLiteral("juillet"), QStringLiteral("07")},
        {QStringLiteral("août"), QStringLiteral("08")},
        {QStringLiteral("septembre"), QStringLiteral("09")},
        {QStringLiteral("octobre"), QStringLiteral("10")},
        {QStringLiteral("novembre"), QStringLiteral("11")},
        {QStringLiteral("décembre"), QStringLiteral("12")},
        {QStringLiteral("janvier-février"), QStringLiteral("01-02")},
        {QStringLiteral("février-mars"), QStringLiteral("02-03")},
        {QStringLiteral("mars-avril"), QStringLiteral("03-04")},
        {QStringLiteral("avril-mai"), QStringLiteral("04-05")},
        {QStringLiteral("mai-juin"), QStringLiteral("05-06")},
        {QStringLiteral("juin-juillet"), QStringLiteral("06-07")},
        {QStringLiteral("juillet-août"), QStringLiteral("07-08")},
        {QStringLiteral("septembre-octobre"), QStringLiteral("09-10")},
        {QStringLiteral("octobre-novembre"), QStringLiteral("10-11")},
        {QStringLiteral("novembre-décembre"), QStringLiteral("11-12")},
        {QStringLiteral("décembre-janvier"), QStringLiteral("01-12")},
        {QStringLiteral("janvier-février-mars"), QStringLiteral("01-02-03")},
        {QStringLiteral("avril-mai-juin"), QStringLiteral("04-05-06")},
        {QStringLiteral("juillet-août-septembre"), QStringLiteral("07-08-09")},
        {QStringLiteral("octobre-novembre-décembre"), QStringLiteral("10-11-12")},
    };
    return codes.value(month);
}

bool HasUnbrokenRun(const QString &text, int longest)
{
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longest)
            return true;
    }
    return false;
}

} // namespace ferlin
