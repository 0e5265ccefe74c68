#include "report/ReportDocument.h"

#include "report/ReportDefinition.h"

#include <QPageSize>
#include <algorithm>

namespace {

// Copies the visible controls of a band, placed at (left, top) of the page,
// into the page; controls starting beyond the print width are left out.
void place(const ReportBand& band, int left, int top, int printWidth,
           std::vector<ReportControl>& items) {
    for (const ReportControl& c : band.Controls()) {
        if (!c.visible || c.rect.left() >= printWidth)
            continue;
        items.push_back(c);
        items.back().rect.translate(left, top);
    }
}

} // namespace

ReportDocument ReportDocument::Run(ReportDefinition& def) {
    ReportDocument doc;
    doc.m_caption = def.Caption();
    const QSizeF paper = QPageSize(def.PaperSize()).size(QPageSize::Point) * 20.0;
    doc.m_pageSize = QSize(qRound(paper.width()), qRound(paper.height()));

    int left = def.LeftMargin();
    int right = def.RightMargin();
    const int width = std::min(def.PrintWidth(), doc.m_pageSize.width());
    if (left + width + right > doc.m_pageSize.width()) {
        const int spare = std::max(0, doc.m_pageSize.width() - width);
        const int total = std::max(1, left + right);
        left = spare * left / total;
    }
    const int top = def.TopMargin();
    const int bottom = doc.m_pageSize.height() - def.BottomMargin();
    doc.m_printArea = QRect(left, top, width, std::max(0, bottom - top));

    const ReportBand& header = def.PageHeader();
    const ReportBand& detail = def.Detail();
    const ReportBand& footer = def.PageFooter();
    const int footerTop = bottom - footer.Height();

    const int columns = detail.ColumnCount();
    const int columnWidth = width / columns;
    int y = 0;
    int column = 0; // of the next record in the current row
    auto startPage = [&] {
        doc.m_pages.emplace_back();
        place(header, left, top, width, doc.m_pages.back().items);
        y = top + header.Height();
        column = 0;
    };
    auto finishPage = [&] { place(footer, left, footerTop, width, doc.m_pages.back().items); };

    def.ReportStart();
    startPage();
    for (;;) {
        bool eof = true;
        def.FetchData(eof);
        if (eof)
            break;
        // A band taller than the whole page still gets a page of its own.
        if (column == 0 && y + detail.Height() > footerTop && doc.m_pages.back().detailCount > 0) {
            finishPage();
            startPage();
        }
        Page& page = doc.m_pages.back();
        place(detail, left + column * columnWidth, y, columns > 1 ? columnWidth : width,
              page.items);
        ++page.detailCount;
        if (++column == columns) {
            column = 0;
            y += detail.Height();
        }
    }
    finishPage();
    return doc;
}

int ReportDocument::DetailCount() const {
    int n = 0;
    for (const Page& p : m_pages)
        n += p.detailCount;
    return n;
}

ReportDocument::Hit ReportDocument::Find(const QString& text, const Hit& from) const {
    Hit hit;
    if (text.isEmpty())
        return hit;
    int page = from.found() ? from.page : 0;
    int item = from.found() ? from.item + 1 : 0;
    for (; page < PageCount(); ++page, item = 0) {
        const std::vector<ReportControl>& items = m_pages[page].items;
        for (; item < static_cast<int>(items.size()); ++item) {
            const ReportControl& c = items[item];
            if ((c.kind == ReportControl::Kind::Label || c.kind == ReportControl::Kind::Barcode) &&
                c.text.contains(text, Qt::CaseInsensitive)) {
                hit.page = page;
                hit.item = item;
                hit.rect = c.rect;
                return hit;
            }
        }
    }
    return hit;
}

QStringList ReportDocument::PageTexts(int index) const {
    std::vector<const ReportControl*> items;
    for (const ReportControl& c : m_pages.at(index).items)
        if (!c.text.isEmpty() &&
            (c.kind == ReportControl::Kind::Label || c.kind == ReportControl::Kind::Barcode))
            items.push_back(&c);
    std::stable_sort(items.begin(), items.end(), [](const auto* a, const auto* b) {
        return a->rect.top() != b->rect.top() ? a->rect.top() < b->rect.top()
                                              : a->rect.left() < b->rect.left();
    });
    QStringList texts;
    for (const ReportControl* c : items)
        texts << c->text;
    return texts;
}
