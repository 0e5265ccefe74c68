#pragma once

#include <QColor>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QRectF>

class QPainter;

// Collects a page's frames and single-line texts and draws them grouped by
// pen and font: every change of pen or font costs a PDF graphics-state block,
// and thousands of small blocks made writing a long report slow. Frames are
// drawn before texts; whatever must keep its place between items (fills,
// pictures, barcodes, clipped text) flushes the batch before it is drawn.
class ReportBatch {
public:
    void AddFrame(const QRectF& rect, const QColor& color, int width);
    // False (nothing added) for runs the merged form cannot carry, such as
    // underlined or right-to-left runs; the caller draws those itself.
    bool AddText(const QList<QGlyphRun>& runs, const QPointF& origin, const QColor& color);
    void Flush(QPainter& p);

private:
    struct Frames {
        QColor color;
        int width = 0;
        QList<QRectF> rects;
    };
    struct Glyphs {
        QColor color;
        QRawFont font;
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    QList<Frames> m_frames;
    QList<Glyphs> m_texts;
};
