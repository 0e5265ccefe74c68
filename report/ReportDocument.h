#pragma once

#include "report/ReportControl.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class ReportDefinition;

// The finished pages of one run of a report: every control as it was
// printed, with its position on the page in twips. Painting, finding text
// and exporting all work from here, so every output shows the same pages.
class ReportDocument {
public:
    struct Page {
        std::vector<ReportControl> items; // rects in page coordinates
        int detailCount = 0;
    };
    struct Hit {
        int page = -1; // 0-based
        int item = -1;
        QRect rect; // twips, page coordinates
        bool found() const { return page >= 0; }
    };

    // Runs the report: ReportStart, then FetchData until end of data, filling
    // pages band by band with the page header and footer on every page.
    static ReportDocument Run(ReportDefinition& definition);

    QString Caption() const { return m_caption; }
    QSize PageSize() const { return m_pageSize; } // twips
    // The printed area of every page (margins and print width), twips.
    QRect PrintArea() const { return m_printArea; }
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    const Page& PageAt(int index) const { return m_pages.at(index); }
    // Detail records over all pages.
    int DetailCount() const;

    // The first label or barcode text containing `text` (case-insensitive),
    // from the first page or after the hit `from`.
    Hit Find(const QString& text) const { return Find(text, Hit()); }
    Hit Find(const QString& text, const Hit& from) const;
    // Every text of a page, top to bottom, left to right.
    QStringList PageTexts(int index) const;

private:
    QString m_caption;
    QSize m_pageSize;
    QRect m_printArea;
    std::vector<Page> m_pages;
};
