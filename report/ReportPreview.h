#pragma once

#include "error/Error.h"

#include "report/ReportDocument.h"
#include "report/ReportPrinter.h"

#include <QDialog>
#include <functional>
#include <vector>

class QAction;
class QListWidget;
class ReportPageView;
class QToolBar;

// The modal preview of a finished report: its pages, a page list, printing,
// copying a page, finding text, page and zoom tools, a history of the pages
// visited and the export to PDF. Shows no message box itself: the find text,
// the PDF file name and the messages go through callbacks that the program
// connects to its own dialogs (by default: no text, no file, no message).
class ReportPreview : public QDialog {
    Q_OBJECT

public:
    using TextProvider = std::function<QString()>;                             // empty: cancel
    using FileNameProvider = std::function<QString(const QString& suggested)>; // empty: cancel
    using MessageHandler = std::function<void(const QString& text, bool isError)>;
    using CauseProvider = std::function<QString(const QString& fileName)>;

    explicit ReportPreview(ReportDocument doc, QWidget* parent = nullptr);
    ~ReportPreview() override;

    void setFindTextProvider(TextProvider provider) { m_findText = std::move(provider); }
    void setPdfFileNameProvider(FileNameProvider provider) { m_pdfName = std::move(provider); }
    void setMessageHandler(MessageHandler handler) { m_message = std::move(handler); }
    // Why a PDF file could not be written, in the program's words (by
    // default the writer's own message).
    void setFailureCauseProvider(CauseProvider provider) { m_cause = std::move(provider); }
    // The printer behind the print tool (its dialog seam included).
    ReportPrinter& Printer() { return m_printer; }

    const ReportDocument& Document() const { return m_doc; }
    int PageCount() const { return m_doc.PageCount(); }
    int CurrentPage() const { return m_current; } // 1-based

    // Shows a page (1-based) and records it in the history.
    void GoToPage(int page);
    bool CanGoBack() const { return m_historyPos > 0; }
    bool CanGoForward() const { return m_historyPos + 1 < static_cast<int>(m_history.size()); }
    bool Back();
    bool Forward();

    // Finds the next occurrence of `text` after the last hit (from the start
    // again at the end), shows its page and marks it; false when there is none.
    bool FindText(const QString& text);
    ReportDocument::Hit LastHit() const { return m_hit; }

    // Writes the pages to a PDF file; an existing file is not overwritten.
    bool ExportPdf(const QString& fileName, Error* error = nullptr);

signals:
    void pageShown(int page);

private:
    // The steps of the constructor.
    void buildLayout();
    void addContentTools();
    void addViewTools();
    void addMoveTools();
    void addExportTool();
    void followPageChanges();
    QAction* addTool(const QString& name, const QString& caption, const QString& tip,
                     const QIcon& icon, bool showCaption);
    void showPage(int page); // without touching the history
    void onScrolledTo(int page);
    void print();
    void copyPage();
    void find();
    void exportPdf();
    void message(const QString& text, bool isError);

    ReportDocument m_doc;
    ReportPrinter m_printer;
    QToolBar* m_toolBar = nullptr;
    ReportPageView* m_view = nullptr;
    QListWidget* m_pageList = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;

    TextProvider m_findText;
    FileNameProvider m_pdfName;
    MessageHandler m_message;
    CauseProvider m_cause;

    int m_current = 1;
    std::vector<int> m_history{1};
    int m_historyPos = 0;
    bool m_moving = false; // a page change of our own, not the user's scrolling
    QString m_lastFind;
    ReportDocument::Hit m_hit;
};
