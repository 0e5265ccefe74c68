#include "report/ReportPageView.h"

#include "report/ReportPainter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kGap = 12; // pixels around and between pages
}

class ReportPageView::Canvas : public QWidget {
public:
    explicit Canvas(ReportPageView* view) : QWidget(view), m_view(view) {
        setObjectName(QStringLiteral("pageCanvas"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.fillRect(event->rect(), palette().color(QPalette::Dark));
        const ReportDocument& doc = m_view->m_doc;
        const int first = m_view->m_multi ? 0 : m_view->m_current - 1;
        const int last = m_view->m_multi ? doc.PageCount() - 1 : m_view->m_current - 1;
        for (int i = first; i <= last && i < doc.PageCount(); ++i) {
            const QRect r = m_view->pageRect(i);
            if (!r.intersects(event->rect()))
                continue;
            p.drawImage(r.topLeft(), m_view->pageImage(i));
            p.setPen(Qt::black);
            p.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    }

private:
    ReportPageView* m_view;
};

ReportPageView::ReportPageView(const ReportDocument& doc, QWidget* parent)
    : QScrollArea(parent), m_doc(doc), m_images(64 * 1024) {
    m_canvas = new Canvas(this);
    setWidget(m_canvas);
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ReportPageView::onScrolled);
    relayout();
}

ReportPageView::~ReportPageView() = default;

QSize ReportPageView::pageSize() const {
    const double pixelsPerTwip = m_zoom * logicalDpiX() / 1440.0;
    return QSize(qMax(1, qRound(m_doc.PageSize().width() * pixelsPerTwip)),
                 qMax(1, qRound(m_doc.PageSize().height() * pixelsPerTwip)));
}

int ReportPageView::columns() const {
    if (!m_multi)
        return 1;
    const int width = viewport()->width() - kGap;
    return qBound(1, width / (pageSize().width() + kGap), qMax(1, m_doc.PageCount()));
}

QRect ReportPageView::pageRect(int index) const {
    const QSize size = pageSize();
    const int cols = columns();
    const int row = m_multi ? index / cols : 0;
    const int col = m_multi ? index % cols : 0;
    return QRect(kGap + col * (size.width() + kGap), kGap + row * (size.height() + kGap),
                 size.width(), size.height());
}

const QImage& ReportPageView::pageImage(int index) {
    if (QImage* cached = m_images.object(index))
        return *cached;
    const int dpi = qMax(1, qRound(m_zoom * logicalDpiX()));
    auto* stored = new QImage(ReportPainter::PageImage(
        m_doc, index, dpi, index == m_highlightPage ? m_highlight : QRect())); // owned by the cache
    const int cost = qMax<qsizetype>(1, stored->sizeInBytes() / 1024);
    m_images.insert(index, stored, cost);
    return *m_images.object(index);
}

void ReportPageView::relayout() {
    const int pages = m_multi ? qMax(1, m_doc.PageCount()) : 1;
    const int cols = columns();
    const int rows = (pages + cols - 1) / cols;
    const QSize size = pageSize();
    m_canvas->resize(kGap + cols * (size.width() + kGap), kGap + rows * (size.height() + kGap));
    m_canvas->update();
}

void ReportPageView::SetCurrentPage(int page) {
    page = qBound(1, page, qMax(1, m_doc.PageCount()));
    m_current = page;
    m_scrolling = true;
    if (m_multi)
        verticalScrollBar()->setValue(pageRect(page - 1).top() - kGap);
    else
        verticalScrollBar()->setValue(0);
    m_scrolling = false;
    m_canvas->update();
}

void ReportPageView::SetMultiPage(bool multi) {
    if (multi == m_multi)
        return;
    m_multi = multi;
    relayout();
    SetCurrentPage(m_current);
}

void ReportPageView::SetZoom(double zoom) {
    zoom = qBound(0.1, zoom, 8.0);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    m_zoom = zoom;
    m_images.clear();
    relayout();
    SetCurrentPage(m_current);
}

void ReportPageView::SetHighlight(int page, const QRect& twips) {
    m_images.remove(m_highlightPage);
    m_highlightPage = twips.isNull() ? -1 : page - 1;
    m_highlight = twips;
    m_images.remove(m_highlightPage);
    m_canvas->update();
}

QRect ReportPageView::canvasArea(int page, const QRect& twips) const {
    const double pixelsPerTwip = m_zoom * logicalDpiX() / 1440.0;
    const QRect r = pageRect(m_multi ? page - 1 : 0);
    return QRect(r.left() + qRound(twips.left() * pixelsPerTwip),
                 r.top() + qRound(twips.top() * pixelsPerTwip),
                 qMax(1, qRound(twips.width() * pixelsPerTwip)),
                 qMax(1, qRound(twips.height() * pixelsPerTwip)));
}

void ReportPageView::ShowArea(int page, const QRect& twips) {
    const QRect area = canvasArea(page, twips);
    m_scrolling = true;
    ensureVisible(area.center().x(), area.center().y(), viewport()->width() / 2,
                  viewport()->height() / 2);
    m_scrolling = false;
}

QRect ReportPageView::AreaInViewport(int page, const QRect& twips) const {
    const QRect area = canvasArea(page, twips);
    return area.translated(m_canvas->mapTo(viewport(), QPoint(0, 0)));
}

int ReportPageView::PageAt(const QPoint& viewportPos) const {
    const QPoint pos = m_canvas->mapFrom(viewport(), viewportPos);
    if (!m_multi)
        return pageRect(0).contains(pos) ? m_current : 0;
    for (int i = 0; i < m_doc.PageCount(); ++i)
        if (pageRect(i).contains(pos))
            return i + 1;
    return 0;
}

void ReportPageView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_multi)
        relayout();
}

void ReportPageView::onScrolled() {
    if (m_scrolling || !m_multi)
        return;
    // The page in the middle of the top of the view.
    const int y = verticalScrollBar()->value() + kGap;
    const int cols = columns();
    const int row = y / (pageSize().height() + kGap);
    const int page = qBound(1, row * cols + 1, qMax(1, m_doc.PageCount()));
    if (page != m_current) {
        m_current = page;
        emit currentPageChanged(page);
    }
}
