#include "platform/PlainHeaderView.h"

#include <QIcon>
#include <QStyleOptionHeader>
#include <QTreeView>

PlainHeaderView::PlainHeaderView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {}

PlainHeaderView* PlainHeaderView::Install(QTreeView* view) {
    const QHeaderView* old = view->header();
    auto* header = new PlainHeaderView(old->orientation(), view);
    header->setSectionsMovable(old->sectionsMovable());
    header->setFirstSectionMovable(old->isFirstSectionMovable());
    header->setDefaultAlignment(old->defaultAlignment());
    header->setStretchLastSection(old->stretchLastSection());
    header->setHighlightSections(old->highlightSections());
    view->setHeader(header); // the view deletes the header it had
    return header;
}

QSize PlainHeaderView::sectionSizeFromContents(int logicalIndex) const {
    if (!model() || logicalIndex < 0)
        return {};
    // A size the model gives is taken as it is, as QHeaderView takes it.
    const QVariant hint = model()->headerData(logicalIndex, orientation(), Qt::SizeHintRole);
    if (hint.isValid() || highlightSections())
        return hint.isValid() ? hint.toSize() : QHeaderView::sectionSizeFromContents(logicalIndex);
    ensurePolished();
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.section = logicalIndex;
    const QVariant font = model()->headerData(logicalIndex, orientation(), Qt::FontRole);
    opt.fontMetrics = QFontMetrics(font.canConvert<QFont>() ? font.value<QFont>() : this->font());
    opt.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QVariant decoration =
        model()->headerData(logicalIndex, orientation(), Qt::DecorationRole);
    opt.icon = decoration.value<QIcon>();
    if (opt.icon.isNull())
        opt.icon = QIcon(decoration.value<QPixmap>());
    QSize size = style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), this);
    if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex) {
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &opt, this);
        if (orientation() == Qt::Horizontal)
            size.rwidth() += size.height() + margin;
        else
            size.rheight() += size.width() + margin;
    }
    return size;
}
