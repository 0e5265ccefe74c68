#include "report/ReportBatch.h"

#include <QPainter>

void ReportBatch::AddFrame(const QRectF& rect, const QColor& color, int width) {
    for (Frames& f : m_frames) {
        if (f.width == width && f.color == color) {
            f.rects.append(rect);
            return;
        }
    }
    m_frames.append(Frames{color, width, {rect}});
}

bool ReportBatch::AddText(const QList<QGlyphRun>& runs, const QPointF& origin,
                          const QColor& color) {
    for (const QGlyphRun& run : runs) {
        if (run.flags() != QGlyphRun::GlyphRunFlags())
            return false;
    }
    for (const QGlyphRun& run : runs) {
        Glyphs* group = nullptr;
        for (Glyphs& g : m_texts) {
            if (g.color == color && g.font == run.rawFont()) {
                group = &g;
                break;
            }
        }
        if (!group) {
            m_texts.append(Glyphs{color, run.rawFont(), {}, {}});
            group = &m_texts.last();
        }
        group->indexes.append(run.glyphIndexes());
        for (const QPointF& at : run.positions())
            group->positions.append(at + origin);
    }
    return true;
}

void ReportBatch::Flush(QPainter& p) {
    if (!m_frames.isEmpty())
        p.setBrush(Qt::NoBrush);
    for (const Frames& f : std::as_const(m_frames)) {
        p.setPen(QPen(f.color, f.width));
        // One stroke each, as the frames were drawn one by one: a single
        // path of all of them would shade the crossings differently.
        for (const QRectF& r : f.rects)
            p.drawRect(r);
    }
    for (const Glyphs& g : std::as_const(m_texts)) {
        QGlyphRun run;
        run.setRawFont(g.font);
        run.setGlyphIndexes(g.indexes);
        run.setPositions(g.positions);
        p.setPen(g.color);
        p.drawGlyphRun(QPointF(), run);
    }
    m_frames.clear();
    m_texts.clear();
}
