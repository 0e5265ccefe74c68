#pragma once

#include <QHeaderView>

// A header that measures its sections in the font it paints them with.
// QHeaderView measures them in a bold copy of its font, for a section that
// is painted bold when highlighted; a header that highlights none would
// otherwise load a second font (and its fallbacks for Chinese) before its
// first paint, only to measure it.
class PlainHeaderView : public QHeaderView {
public:
    explicit PlainHeaderView(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Replaces `view`'s header with a plain one that keeps its settings
    // (movable sections, alignment, last section stretched).
    static PlainHeaderView* Install(class QTreeView* view);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
