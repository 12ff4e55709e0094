#include "gui/shell/moveicons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace ferlin {

namespace {

void triangle(QPainter &p, bool pointsRight, qreal left)
{
    QPolygonF shape;
    if (pointsRight)
        shape << QPointF(left, 14) << QPointF(left + 20, 32) << QPointF(left, 50);
    else
        shape << QPointF(left + 20, 14) << QPointF(left, 32) << QPointF(left + 20, 50);
    p.drawPolygon(shape);
}

} // namespace

QIcon moveIcon(MoveIcon which)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int side = qRound(24 * ratio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 64.0, side / 64.0);
    const QColor ink(0x1e, 0x3a, 0x6e);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    switch (which) {
    case MoveIcon::First:
        p.drawRect(QRectF(14, 14, 5, 36));
        triangle(p, false, 24);
        break;
    case MoveIcon::Previous:
        triangle(p, false, 20);
        break;
    case MoveIcon::Next:
        triangle(p, true, 24);
        break;
    case MoveIcon::Last:
        triangle(p, true, 20);
        p.drawRect(QRectF(45, 14, 5, 36));
        break;
    case MoveIcon::Clipboard:
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(14, 12, 36, 44), 4, 4);
        p.setBrush(ink);
        p.drawRect(QRectF(24, 8, 16, 8));
        p.drawLine(QPointF(21, 28), QPointF(43, 28));
        p.drawLine(QPointF(21, 37), QPointF(43, 37));
        p.drawLine(QPointF(21, 46), QPointF(36, 46));
        break;
    case MoveIcon::Empty: // a bin
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(14, 18), QPointF(50, 18));
        p.drawRect(QRectF(26, 10, 12, 8));
        p.drawLine(QPointF(18, 18), QPointF(22, 54));
        p.drawLine(QPointF(22, 54), QPointF(42, 54));
        p.drawLine(QPointF(42, 54), QPointF(46, 18));
        p.drawLine(QPointF(28, 26), QPointF(29, 46));
        p.drawLine(QPointF(36, 26), QPointF(35, 46));
        break;
    case MoveIcon::Transfer: // two arrows between baskets
        p.drawLine(QPointF(12, 22), QPointF(42, 22));
        p.drawPolygon(QPolygonF() << QPointF(40, 12) << QPointF(52, 22) << QPointF(40, 32));
        p.drawLine(QPointF(22, 44), QPointF(52, 44));
        p.drawPolygon(QPolygonF() << QPointF(24, 34) << QPointF(12, 44) << QPointF(24, 54));
        break;
    }
    return QIcon(pixmap);
}

} // namespace ferlin
