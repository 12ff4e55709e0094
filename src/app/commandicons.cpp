#include "app/commandicons.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ferlin {

namespace {

// The drawings of the bundled pictures, made of plain shapes (no font is needed to draw them).
enum class Pictogram {
    Gear,
    Chart,
    Card,
    Search,
    Basket,
    Archive,
    Pdf,
    Notepad,
    Info,
    Help,
    Quit,
    Program
};

struct IconSpec {
    QStringList themeNames;
    Pictogram pictogram;
    QColor colour;
};

const QHash<QString, IconSpec> &iconSpecs()
{
    static const QHash<QString, IconSpec> specs = {
        {QStringLiteral("Cmd_config"),
         {{QStringLiteral("preferences-system"), QStringLiteral("preferences-other")},
          Pictogram::Gear,
          QColor(0x55, 0x66, 0x77)}},
        {QStringLiteral("Cmd_Sélecte"),
         {{QStringLiteral("office-chart-bar"), QStringLiteral("view-statistics")},
          Pictogram::Chart,
          QColor(0x2e, 0x8b, 0x57)}},
        {QStringLiteral("Cmd_feuillette"),
         {{QStringLiteral("x-office-address-book"), QStringLiteral("document-open")},
          Pictogram::Card,
          QColor(0x1e, 0x62, 0xb0)}},
        {QStringLiteral("Cmd_selections"),
         {{QStringLiteral("system-search"), QStringLiteral("edit-find")},
          Pictogram::Search,
          QColor(0xb0, 0x5a, 0x1e)}},
        {QStringLiteral("Cmd_voirpanier"),
         {{QStringLiteral("view-list-details"), QStringLiteral("folder")},
          Pictogram::Basket,
          QColor(0x8b, 0x5a, 0x2b)}},
        {QStringLiteral("Cmd_ArchivP"),
         {{QStringLiteral("document-save"), QStringLiteral("media-floppy")},
          Pictogram::Archive,
          QColor(0x6a, 0x3d, 0x9a)}},
        {QStringLiteral("Cmd_Acrobat"),
         {{QStringLiteral("application-pdf"), QStringLiteral("x-office-document")},
          Pictogram::Pdf,
          QColor(0xb0, 0x1e, 0x1e)}},
        {QStringLiteral("Cmd_Notepad"),
         {{QStringLiteral("accessories-text-editor"), QStringLiteral("text-editor")},
          Pictogram::Notepad,
          QColor(0x44, 0x44, 0x44)}},
        {QStringLiteral("Cmd_ORV"),
         {{QStringLiteral("help-about"), QStringLiteral("dialog-information")},
          Pictogram::Info,
          QColor(0x1e, 0x90, 0xb0)}},
        {QStringLiteral("Cmd_Aide"),
         {{QStringLiteral("help-contents"), QStringLiteral("help-browser")},
          Pictogram::Help,
          QColor(0x20, 0x80, 0x20)}},
        {QStringLiteral("Cmd_Quitte"),
         {{QStringLiteral("application-exit"), QStringLiteral("system-log-out")},
          Pictogram::Quit,
          QColor(0x90, 0x10, 0x10)}},
    };
    return specs;
}

void drawPictogram(QPainter &p, Pictogram pictogram)
{
    const QPen line(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    switch (pictogram) {
    case Pictogram::Gear:
        p.drawEllipse(QPointF(32, 32), 10, 10);
        for (int k = 0; k < 8; ++k) {
            p.save();
            p.translate(32, 32);
            p.rotate(45.0 * k);
            p.drawLine(QPointF(0, -13), QPointF(0, -19));
            p.restore();
        }
        break;
    case Pictogram::Chart:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(16, 34, 6, 14));
        p.drawRect(QRectF(29, 22, 6, 26));
        p.drawRect(QRectF(42, 28, 6, 20));
        break;
    case Pictogram::Card:
        p.drawRect(QRectF(14, 18, 36, 28));
        p.drawLine(QPointF(20, 27), QPointF(44, 27));
        p.drawLine(QPointF(20, 36), QPointF(36, 36));
        break;
    case Pictogram::Search:
        p.drawEllipse(QPointF(28, 28), 11, 11);
        p.drawLine(QPointF(36, 36), QPointF(47, 47));
        break;
    case Pictogram::Basket: {
        QPainterPath basket;
        basket.moveTo(14, 26);
        basket.lineTo(50, 26);
        basket.lineTo(45, 47);
        basket.lineTo(19, 47);
        basket.closeSubpath();
        p.drawPath(basket);
        p.drawArc(QRectF(22, 12, 20, 24), 0, 180 * 16);
        break;
    }
    case Pictogram::Archive:
        p.drawRect(QRectF(15, 18, 34, 10));
        p.drawRect(QRectF(18, 28, 28, 20));
        p.drawLine(QPointF(27, 35), QPointF(37, 35));
        break;
    case Pictogram::Pdf:
    case Pictogram::Notepad: {
        QPainterPath page;
        page.moveTo(19, 13);
        page.lineTo(38, 13);
        page.lineTo(46, 21);
        page.lineTo(46, 51);
        page.lineTo(19, 51);
        page.closeSubpath();
        p.drawPath(page);
        p.drawLine(QPointF(25, 30), QPointF(40, 30));
        p.drawLine(QPointF(25, 38), QPointF(40, 38));
        if (pictogram == Pictogram::Pdf)
            p.drawLine(QPointF(25, 45), QPointF(34, 45));
        break;
    }
    case Pictogram::Info:
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(32, 18), 2.5, 2.5);
        p.drawLine(QPointF(32, 28), QPointF(32, 47));
        break;
    case Pictogram::Help: {
        QPainterPath hook;
        hook.moveTo(24, 24);
        hook.cubicTo(24, 12, 42, 12, 41, 24);
        hook.cubicTo(40, 31, 32, 31, 32, 39);
        p.drawPath(hook);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(32, 47), 2.5, 2.5);
        break;
    }
    case Pictogram::Quit:
        p.drawLine(QPointF(21, 21), QPointF(43, 43));
        p.drawLine(QPointF(43, 21), QPointF(21, 43));
        break;
    case Pictogram::Program:
        p.drawLine(QPointF(24, 16), QPointF(24, 48));
        p.drawLine(QPointF(24, 16), QPointF(42, 16));
        p.drawLine(QPointF(24, 31), QPointF(38, 31));
        break;
    }
}

QIcon drawnIcon(Pictogram pictogram, const QColor &colour)
{
    // Drawn on a 64-unit grid at the size the command bar shows (32 pixels, more on HiDPI).
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int side = qRound(32 * ratio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 64.0, side / 64.0);
    painter.setBrush(colour);
    painter.setPen(QPen(colour.darker(140), 2));
    painter.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    drawPictogram(painter, pictogram);
    return QIcon(pixmap);
}

} // namespace

QIcon programIcon()
{
    static const QIcon icon = drawnIcon(Pictogram::Program, QColor(0x1e, 0x62, 0xb0));
    return icon;
}

QIcon commandIcon(const QString &buttonName)
{
    const auto it = iconSpecs().constFind(buttonName);
    if (it == iconSpecs().constEnd())
        return programIcon();
    for (const QString &name : it->themeNames) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return drawnIcon(it->pictogram, it->colour);
}

} // namespace ferlin
