#include "tools/admin/DemoPhoto.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace DemoPhoto {

namespace {

constexpr int Width = 240;
constexpr int Height = 320;

const QColor kBackgrounds[] = {QColor(0x8e, 0xc5, 0xe8), QColor(0xd9, 0xe8, 0xf5),
                               QColor(0xf2, 0xd7, 0xd5), QColor(0xe0, 0xf0, 0xd8),
                               QColor(0xf7, 0xe9, 0xc3), QColor(0xdd, 0xd5, 0xee)};
const QColor kSkins[] = {QColor(0xf5, 0xd0, 0xa9), QColor(0xea, 0xc0, 0x8e),
                         QColor(0xf8, 0xdc, 0xc0), QColor(0xdf, 0xb3, 0x85)};
const QColor kHair[] = {QColor(0x1e, 0x1a, 0x18), QColor(0x3b, 0x2a, 0x20),
                        QColor(0x2b, 0x2b, 0x30)};
const QColor kClothes[] = {QColor(0x2f, 0x4f, 0x7f), QColor(0x55, 0x55, 0x5f),
                           QColor(0x7a, 0x2e, 0x3a), QColor(0x2e, 0x6b, 0x4f),
                           QColor(0x44, 0x3c, 0x6e)};

template <typename T, size_t N> const T& pick(const T (&list)[N], int index) {
    return list[static_cast<size_t>(index) % N];
}

} // namespace

QImage Draw(const QString& name, int index) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(pick(kBackgrounds, index));

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor skin = pick(kSkins, index / 2);
    const QColor hair = pick(kHair, index);
    const QColor clothes = pick(kClothes, index / 3);
    const bool longHair = index % 2 == 1;

    // Hair behind the head for long hair.
    p.setPen(Qt::NoPen);
    if (longHair) {
        p.setBrush(hair);
        p.drawRoundedRect(QRectF(52, 70, 136, 170), 60, 60);
    }
    // Shoulders and neck.
    p.setBrush(clothes);
    QPainterPath body;
    body.moveTo(20, Height);
    body.cubicTo(24, 250, 70, 232, 120, 232);
    body.cubicTo(170, 232, 216, 250, 220, Height);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(skin.darker(108));
    p.drawRect(QRectF(102, 190, 36, 48));
    p.setBrush(Qt::white);
    QPainterPath collar;
    collar.moveTo(100, 234);
    collar.lineTo(120, 262);
    collar.lineTo(140, 234);
    collar.closeSubpath();
    p.drawPath(collar);
    // Face, ears.
    p.setBrush(skin);
    p.drawEllipse(QRectF(62, 88, 16, 30));
    p.drawEllipse(QRectF(162, 88, 16, 30));
    p.drawEllipse(QRectF(70, 50, 100, 150));
    // Hair on top.
    p.setBrush(hair);
    QPainterPath top;
    top.moveTo(68, 110);
    top.cubicTo(56, 18, 184, 18, 172, 110);
    top.cubicTo(150, 78, 96, 74, 68, 110);
    p.drawPath(top);
    // Eyes, brows, nose, mouth.
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawEllipse(QRectF(94, 118, 11, 8));
    p.drawEllipse(QRectF(135, 118, 11, 8));
    p.setPen(QPen(hair, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(90, 108), QPointF(108, 106));
    p.drawLine(QPointF(132, 106), QPointF(150, 108));
    p.setPen(QPen(skin.darker(130), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(120, 128), QPointF(116, 150));
    p.drawLine(QPointF(116, 150), QPointF(123, 151));
    p.setPen(QPen(QColor(0xb0, 0x50, 0x50), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(104, 152, 32, 18), 200 * 16, 140 * 16);

    // The surname in a badge, so the pictures tell people apart at a glance.
    const QString initial = name.left(1);
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(30);
    font.setBold(true);
    p.setFont(font);
    const QRectF badge(Width - 58, Height - 58, 44, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(badge);
    p.setPen(clothes.darker(120));
    p.drawText(badge, Qt::AlignCenter, initial);
    p.end();
    return image;
}

QByteArray Jpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "JPG", 90) ? bytes : QByteArray();
}

} // namespace DemoPhoto
