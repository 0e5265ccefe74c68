#pragma once

#include "report/ReportBand.h"

#include <QPageSize>
#include <QString>

// A report: page header, detail and page footer bands and the page set-up.
// The engine calls ReportStart once before the first record, then FetchData
// for every detail record until it sets eof; each call that leaves eof false
// prints the detail band once more, with the texts the call has set.
class ReportDefinition {
public:
    virtual ~ReportDefinition() = default;

    // Title of the preview window.
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    // The width of the printed area in twips: controls beyond it are cut off.
    int PrintWidth() const { return m_printWidth; }
    void setPrintWidth(int twips) { m_printWidth = twips; }

    // Paper and margins (twips). When the margins leave less than the print
    // width, the left and right margins shrink evenly to make room.
    QPageSize::PageSizeId PaperSize() const { return m_paper; }
    void setPaperSize(QPageSize::PageSizeId id) { m_paper = id; }
    int LeftMargin() const { return m_left; }
    int TopMargin() const { return m_top; }
    int RightMargin() const { return m_right; }
    int BottomMargin() const { return m_bottom; }
    void setMargins(int left, int top, int right, int bottom);

    ReportBand& PageHeader() { return m_header; }
    ReportBand& Detail() { return m_detail; }
    ReportBand& PageFooter() { return m_footer; }
    const ReportBand& PageHeader() const { return m_header; }
    const ReportBand& Detail() const { return m_detail; }
    const ReportBand& PageFooter() const { return m_footer; }

    // The control of that name in any band (header first), or nullptr.
    ReportControl* Control(const QString& name);
    // Sets the text of a control of any band; false when there is none.
    bool SetText(const QString& name, const QString& text);

    // The report's events.
    virtual void ReportStart() {}
    virtual void FetchData(bool& eof) = 0;

private:
    QString m_caption;
    int m_printWidth = 9026; // A4 less one inch on either side
    QPageSize::PageSizeId m_paper = QPageSize::A4;
    int m_left = 1440, m_top = 1440, m_right = 1440, m_bottom = 1440;
    ReportBand m_header, m_detail, m_footer;
};
