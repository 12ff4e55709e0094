#include "app/commandicons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace ferlin {

namespace {

struct IconSpec {
    QStringList themeNames;
    QString glyph;  // drawn on the bundled picture
    QColor colour;
};

const QHash<QString, IconSpec> &iconSpecs()
{
    static const QHash<QString, IconSpec> specs = {
        {QStringLiteral("Cmd_config"),
         {{QStringLiteral("preferences-system"), QStringLiteral("preferences-other")},
          QStringLiteral("⚙"), QColor(0x55, 0x66, 0x77)}},
        {QStringLiteral("Cmd_Sélecte"),
         {{QStringLiteral("office-chart-bar"), QStringLiteral("view-statistics")},
          QStringLiteral("▤"), QColor(0x2e, 0x8b, 0x57)}},
        {QStringLiteral("Cmd_feuillette"),
         {{QStringLiteral("x-office-address-book"), QStringLiteral("document-open")},
          QStringLiteral("▭"), QColor(0x1e, 0x62, 0xb0)}},
        {QStringLiteral("Cmd_selections"),
         {{QStringLiteral("system-search"), QStringLiteral("edit-find")},
          QStringLiteral("?"), QColor(0xb0, 0x5a, 0x1e)}},
        {QStringLiteral("Cmd_voirpanier"),
         {{QStringLiteral("view-list-details"), QStringLiteral("folder")},
          QStringLiteral("☰"), QColor(0x8b, 0x5a, 0x2b)}},
        {QStringLiteral("Cmd_ArchivP"),
         {{QStringLiteral("document-save"), QStringLiteral("media-floppy")},
          QStringLiteral("A"), QColor(0x6a, 0x3d, 0x9a)}},
        {QStringLiteral("Cmd_Acrobat"),
         {{QStringLiteral("application-pdf"), QStringLiteral("x-office-document")},
          QStringLiteral("P"), QColor(0xb0, 0x1e, 0x1e)}},
        {QStringLiteral("Cmd_Notepad"),
         {{QStringLiteral("accessories-text-editor"), QStringLiteral("text-editor")},
          QStringLiteral("✎"), QColor(0x44, 0x44, 0x44)}},
        {QStringLiteral("Cmd_ORV"),
         {{QStringLiteral("help-about"), QStringLiteral("dialog-information")},
          QStringLiteral("i"), QColor(0x1e, 0x90, 0xb0)}},
        {QStringLiteral("Cmd_Aide"),
         {{QStringLiteral("help-contents"), QStringLiteral("help-browser")},
          QStringLiteral("?"), QColor(0x20, 0x80, 0x20)}},
        {QStringLiteral("Cmd_Quitte"),
         {{QStringLiteral("application-exit"), QStringLiteral("system-log-out")},
          QStringLiteral("⏻"), QColor(0x90, 0x10, 0x10)}},
    };
    return specs;
}

QIcon drawnIcon(const IconSpec &spec)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(spec.colour);
    painter.setPen(spec.colour.darker(140));
    painter.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    QFont font = painter.font();
    font.setPixelSize(38);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, spec.glyph);
    return QIcon(pixmap);
}

} // namespace

QIcon commandIcon(const QString &buttonName)
{
    const IconSpec spec = iconSpecs().value(buttonName);
    for (const QString &name : spec.themeNames) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return drawnIcon(spec.themeNames.isEmpty()
                         ? IconSpec{{}, QStringLiteral("•"), QColor(0x60, 0x60, 0x60)}
                         : spec);
}

} // namespace ferlin
