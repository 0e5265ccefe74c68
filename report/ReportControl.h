#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

// One named, positioned element of a report band. Positions and sizes are in
// twips (1440 to the inch, 567 to the centimetre), relative to the band.
struct ReportControl {
    enum class Kind { Label, Picture, Rectangle, Barcode };

    Kind kind = Kind::Label;
    QString name;
    QRect rect; // left, top, width, height in twips
    bool visible = true;

    // Label: the text; barcode: the data (Code 128), printed under the bars.
    QString text;
    QString fontFamily = QStringLiteral("宋体");
    double fontSize = 9; // points
    bool bold = false;
    bool italic = false;
    QColor foreColor = Qt::black;
    QColor backColor; // invalid: transparent
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;

    // A frame around labels and pictures, the outline of a rectangle.
    bool border = false;
    QColor lineColor = Qt::black;
    int lineWidth = 15; // twips

    // Picture: drawn stretched into the rectangle.
    QImage picture;
};
