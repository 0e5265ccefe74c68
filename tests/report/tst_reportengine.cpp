// The report engine on a small definition of its own: page filling, output
// to PDF, image and printer, and the preview window's tools.
#include "report/ReportDefinition.h"
#include "report/ReportDocument.h"
#include "report/ReportPageView.h"
#include "report/ReportPainter.h"
#include "report/ReportPreview.h"
#include "report/ReportPrinter.h"
#include "tests/common/TestProgramDir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One detail row per entry of `rows`; 1000 twips each, so 12 fit a page
// between the header and the footer.
class ListReport : public ReportDefinition {
public:
    explicit ListReport(QStringList rows) : m_rows(std::move(rows)) {
        setCaption(QStringLiteral("名单"));
        setPrintWidth(8000);
        PageHeader().setHeight(800);
        PageHeader().AddLabel(QStringLiteral("lblTitle"), {0, 0, 8000, 800}).bold = true;
        // Starts beyond the print width: never printed.
        PageHeader().AddLabel("lblOutside", {8100, 0, 1000, 400}, "OUTSIDE");
        Detail().setHeight(1000);
        Detail().AddLabel(QStringLiteral("lblRow"), {0, 0, 6000, 1000});
        PageFooter().setHeight(400);
        PageFooter().AddLabel("lblFoot", {0, 0, 8000, 400}, "页脚");
    }
    void ReportStart() override {
        ++starts;
        m_next = 0;
        SetText("lblTitle", "名单标题");
    }
    void FetchData(bool& eof) override {
        eof = m_next >= m_rows.size();
        if (!eof)
            SetText(QStringLiteral("lblRow"), m_rows[m_next++]);
    }
    int starts = 0;

private:
    QStringList m_rows;
    int m_next = 0;
};

// Pixels of the find tool's yellow mark in what the preview shows.
int markedPixels(QWidget* view) {
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 230 && c.green() > 200 && c.blue() < 160;
        }
    return n;
}

QStringList names(int n) {
    QStringList rows;
    for (int i = 1; i <= n; ++i)
        rows << QStringLiteral("员工%1").arg(i, 3, 10, QLatin1Char('0'));
    return rows;
}

// The document of a list of n names and `extra` rows.
ReportDocument listDoc(int n, const QString& extra = QString()) {
    ListReport report(extra.isEmpty() ? names(n) : names(n) << extra);
    return ReportDocument::Run(report);
}

} // namespace

class tst_reportengine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void pagesFilledBandByBand() {
        ListReport report(names(30));
        const ReportDocument doc = ReportDocument::Run(report);
        QCOMPARE(report.starts, 1);
        QCOMPARE(doc.PageCount(), 3);
        QCOMPARE(doc.DetailCount(), 30); // 12 a page: each page's first row below
        // The print width fits between the margins of A4 (11906 twips wide).
        QVERIFY(doc.PrintArea().left() + 8000 <= doc.PageSize().width());
        for (int p = 0; p < 3; ++p) {
            const QStringList texts = doc.PageTexts(p);
            QCOMPARE(texts.first(), QStringLiteral("名单标题"));
            QCOMPARE(texts.last(), QStringLiteral("页脚"));
            QVERIFY(!texts.contains(QStringLiteral("OUTSIDE")));
            QCOMPARE(texts[1], names(30)[p * 12]); // rows continue in order
        }
        // The footer sits at the bottom margin, below every detail row.
        const auto& items = doc.PageAt(0).items;
        QCOMPARE(items.back().rect.bottom() + 1, doc.PageSize().height() - report.BottomMargin());
        QVERIFY(items[items.size() - 2].rect.bottom() < items.back().rect.top());

        // A second run starts over; no rows: header and footer only.
        QCOMPARE(ReportDocument::Run(report).PageTexts(1), doc.PageTexts(1));
        ListReport empty({});
        const ReportDocument none = ReportDocument::Run(empty);
        QCOMPARE(none.PageCount(), 1);
        QCOMPARE(none.PageTexts(0), QStringList({"名单标题", "页脚"}));
    }

    void pdfKeepsTextPerPage() {
        const ReportDocument doc = listDoc(30);
        const QString pdf = m_dir.filePath(QStringLiteral("list.pdf"));
        Error error;
        QVERIFY2(ReportPainter::WritePdfFile(doc, pdf, false, &error), qPrintable(error.Text()));
        const QString page3 = PdfText(pdf, 3);
        QVERIFY2(page3.contains(QStringLiteral("员工030")), qPrintable(page3));
        QVERIFY(!page3.contains(QStringLiteral("员工012")));
        // Never over an existing file: tst_reportmonth. A folder that does
        // not exist: failure.
        QVERIFY(!ReportPainter::WritePdfFile(doc, m_dir.filePath("no/such.pdf"), false, &error));
    }

    void labelTextStaysInItsBox() {
        // A row far wider than its label: once the labels are painted over in
        // white (twips / 10 = pixels at 144 dpi), the page is blank.
        const ReportDocument doc = listDoc(0, QString(60, QChar(0x6c49)));
        QImage page = ReportPainter::PageImage(doc, 0, 144), blank = page;
        QPainter p(&page);
        for (const ReportControl& c : doc.PageAt(0).items)
            p.fillRect(QRect(c.rect.topLeft() / 10, c.rect.size() / 10), Qt::white);
        blank.fill(Qt::white);
        QVERIFY(page == blank);
    }

    void laterFillsCoverEarlierText() {
        // Texts are drawn in groups, yet a fill of a later item still covers
        // them: a row under a white rectangle looks like an empty row.
        ListReport covered({QStringLiteral("员工001")}), empty({QString()});
        QImage pages[2];
        for (ListReport* report : {&covered, &empty}) {
            report->Detail()
                .AddRectangle(QStringLiteral("rctCover"), {0, 0, 6000, 1000})
                .backColor = Qt::white;
            pages[report == &empty] = ReportPainter::PageImage(ReportDocument::Run(*report), 0, 96);
        }
        QVERIFY(pages[0] == pages[1]);
    }

    // The "printer" chosen in the dialog is a PDF file: pages 2 to 3 only.
    // (Asked, or cancelled: tst_monthwindows.)
    void printingGoesThroughTheDialogSeam() {
        const ReportDocument doc = listDoc(30);
        ReportPrinter printer;
        const QString pdf = m_dir.filePath(QStringLiteral("printed.pdf"));
        printer.setDialog([&](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setPrintRange(QPrinter::PageRange);
            p.setFromTo(2, 3);
            return true;
        });
        QCOMPARE(printer.Print(doc, true), ReportPrinter::Result::Printed);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains("员工013") && text.contains("员工030") && !text.contains("员工001"));
    }

    void previewToolsNavigationFindAndExport() {
        ReportPreview preview(listDoc(30));
        preview.resize(600, 400); // the hit lies below the page's first screen
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        auto action = [&](const char* name) { return child<QAction>(&preview, name); };
        // Each tool has an icon of its own.
        QList<QImage> icons;
        for (const char* name : {"actPageList", "actPrint", "actCopy", "actFind", "actSinglePage",
                                 "actMultiPage", "actZoomOut", "actZoomIn", "actPrevPage",
                                 "actNextPage", "actBack", "actForward", "actExportPdf"}) {
            const QImage icon = action(name)->icon().pixmap(24).toImage();
            QVERIFY2(!icon.isNull() && !icons.contains(icon), name);
            icons << icon;
        }
        // The page list marks the page shown from the start.
        auto* list = child<QListWidget>(&preview, "lstPages");
        QVERIFY(list->currentRow() == 0 && list->item(0)->isSelected());
        QCOMPARE(preview.CurrentPage(), 1);
        QVERIFY(!action("actBack")->isEnabled());

        // Find: the text given by the caller, its page shown and the hit marked.
        QStringList messages;
        QString findText = QStringLiteral("员工030");
        preview.setFindTextProvider([&] { return findText; });
        preview.setMessageHandler([&](const QString& text, bool) { messages << text; });
        auto* view = preview.findChild<QWidget*>(QStringLiteral("ppvReport"));
        QCOMPARE(markedPixels(view), 0);
        action("actFind")->trigger();
        QCOMPARE(preview.CurrentPage(), 3);
        QCOMPARE(preview.LastHit().page, 2);
        QCOMPARE(preview.Document().PageAt(2).items[preview.LastHit().item].text, findText);
        QVERIFY(markedPixels(view) > 0);
        auto* pages = static_cast<ReportPageView*>(view);
        QVERIFY(
            pages->viewport()->rect().contains(pages->AreaInViewport(3, preview.LastHit().rect)));
        QVERIFY(messages.isEmpty()); // not found: tst_monthwindows

        // Page list: choosing the first page shows it.
        action("actPageList")->trigger();
        QVERIFY(list->isVisible());
        QCOMPARE(list->count(), 3);
        list->setCurrentRow(0);
        QCOMPARE(preview.CurrentPage(), 1);
        // History of pages visited: 1, 3, 1, 2; back and forward keep the list in step.
        const std::pair<const char*, int> steps[] = {
            {"actNextPage", 2}, {"actBack", 1},    {"actBack", 3},     {"actForward", 1},
            {"actForward", 2},  {"actBack", 1},    {"actPrevPage", 1}, // nothing new
            {"actNextPage", 2}, {"actNextPage", 3}};
        for (const auto& [name, page] : steps) {
            action(name)->trigger();
            QCOMPARE(preview.CurrentPage(), page);
            QCOMPARE(list->currentRow(), page - 1);
        }
        // A new visit dropped the pages ahead.
        QVERIFY(!preview.CanGoForward() && !action("actForward")->isEnabled());

        // Copy: the current page as an image.
        action("actCopy")->trigger();
        QCOMPARE(QApplication::clipboard()->image().size(),
                 ReportPainter::PageImage(preview.Document(), 2, 150).size());

        // Export cancelled (no name): nothing said. Writing and refusing an
        // existing file: tst_monthwindows.
        messages.clear();
        preview.setPdfFileNameProvider([](const QString&) { return QString(); });
        action("actExportPdf")->trigger();
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(tst_reportengine)
#include "tst_reportengine.moc"
