#include "core/import/importreport.h"

namespace ferlin {

namespace {

// "1 ligne", "0 ligne", "2 lignes": French counts 0 and 1 in the singular.
QString counted(qint64 n, const QString &one, const QString &many)
{
    return QString::number(n) + u' ' + (n < 2 ? one : many);
}

} // namespace

QString importReport(const ImportSummary &summary)
{
    QStringList lines;
    lines << QStringLiteral("Base publiée lue : ") + summary.source;
    qint64 rows = 0;
    for (const TableRead &read : summary.tables)
        rows += read.rows;
    lines << QStringLiteral("Tables lues : %1, lignes lues : %2")
                 .arg(summary.tables.size())
                 .arg(rows);
    for (const TableRead &read : summary.tables)
        lines << QStringLiteral("  ") + read.table + QStringLiteral(" : ") +
                     counted(read.rows, QStringLiteral("ligne"), QStringLiteral("lignes"));
    if (summary.basketsCarried) {
        lines << QStringLiteral("Paniers gardés de la base précédente (les références que la "
                                "nouvelle édition n'a plus sont abandonnées) :");
        for (int n = 1; n <= Schema::BasketCount; ++n) {
            const BasketCarry &carry = summary.baskets[size_t(n - 1)];
            lines << QStringLiteral("  panier n° %1 : ").arg(n) +
                         counted(carry.kept, QStringLiteral("référence gardée"),
                                 QStringLiteral("références gardées")) +
                         QStringLiteral(", ") +
                         counted(carry.dropped, QStringLiteral("abandonnée"),
                                 QStringLiteral("abandonnées"));
        }
    }
    lines << QStringLiteral("Base écrite : ") + summary.destination;
    return lines.join(u'\n') + u'\n';
}

} // namespace ferlin
