#pragma once

#include "report/ReportDocument.h"

#include <QCache>
#include <QImage>
#include <QScrollArea>

// The pages of a report document on screen, one page or several side by
// side, at a zoom factor. Pages are drawn when they come into view (a report
// of a hundred pages opens as fast as one of a single page) and kept as
// images for scrolling.
class ReportPageView : public QScrollArea {
    Q_OBJECT

public:
    explicit ReportPageView(const ReportDocument& doc, QWidget* parent = nullptr);
    ~ReportPageView() override;

    int CurrentPage() const { return m_current; } // 1-based
    // Shows the page (scrolled to its top when several pages are shown).
    void SetCurrentPage(int page);

    bool MultiPage() const { return m_multi; }
    void SetMultiPage(bool multi);

    double Zoom() const { return m_zoom; } // 1.0: natural size on the screen
    void SetZoom(double zoom);

    // Marks a rectangle (twips) of a page, e.g. the hit of a search; an
    // empty rectangle removes the mark.
    void SetHighlight(int page, const QRect& twips);

    // Scrolls so that a rectangle (twips) of the page shown is in view,
    // centred where the page allows.
    void ShowArea(int page, const QRect& twips);
    // Where a rectangle (twips) of a page lies in the viewport (pixels).
    QRect AreaInViewport(int page, const QRect& twips) const;

    // The page (1-based) at a point of the viewport, 0 for none.
    int PageAt(const QPoint& viewportPos) const;

signals:
    // The page at the top of the view changed by scrolling.
    void currentPageChanged(int page);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class Canvas;
    friend class Canvas;

    QSize pageSize() const; // pixels at the current zoom
    int columns() const;
    QRect pageRect(int index) const; // 0-based, canvas coordinates
    QRect canvasArea(int page, const QRect& twips) const;
    const QImage& pageImage(int index);
    void relayout();
    void onScrolled();

    const ReportDocument& m_doc;
    Canvas* m_canvas = nullptr;
    int m_current = 1;
    bool m_multi = false;
    double m_zoom = 1.0;
    int m_highlightPage = -1;
    QRect m_highlight;
    bool m_scrolling = false; // scrolling of our own
    QCache<int, QImage> m_images;
};
