#include "app/AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvel {
namespace {

// A shopping bag on an orange tile: the shop, and the products it holds.
QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0x50, 0x00));
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(s * 0.2, s * 0.36, s * 0.6, s * 0.5), s * 0.06, s * 0.06);
    QPen handle(Qt::white, qMax(1.0, s * 0.07));
    p.setPen(handle);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(s * 0.33, s * 0.14, s * 0.34, s * 0.42), 0, 180 * 16);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0x50, 0x00));
    p.drawEllipse(QPointF(s * 0.5, s * 0.61), s * 0.09, s * 0.09);
    return image;
}

}  // namespace

QIcon MakeAppIcon()
{
    QIcon icon;
    for (int size : {128, 96, 64, 48, 32, 24, 16}) {
        icon.addPixmap(QPixmap::fromImage(DrawIcon(size)));
    }
    return icon;
}

}  // namespace korvel
