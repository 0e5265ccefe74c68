#include "report/ReportPreview.h"

#include "report/ReportPainter.h"

#include "report/ReportPageView.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

ReportPreview::ReportPreview(ReportDocument doc, QWidget* parent)
    : QDialog(parent), m_doc(std::move(doc)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(m_doc.Caption());
    setModal(true);
    resize(960, 760);
    buildLayout();
    // The tool bar from left to right.
    addContentTools();
    addViewTools();
    addMoveTools();
    addExportTool();
    showPage(1); // the page list marks the page shown from the start
    followPageChanges();
}

void ReportPreview::buildLayout() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbPreview"));
    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("lstPages"));
    for (int i = 1; i <= m_doc.PageCount(); ++i)
        m_pageList->addItem(tr("第 %1 页").arg(i));
    m_pageList->setMaximumWidth(160);
    m_pageList->hide();
    m_view = new ReportPageView(m_doc, this);
    m_view->setObjectName(QStringLiteral("ppvReport"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_pageList);
    splitter->addWidget(m_view);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(splitter, 1);
}

// The page list, printing, copying a page and finding text.
void ReportPreview::addContentTools() {
    QStyle* s = style();
    QAction* pages = addTool(QStringLiteral("actPageList"), QString(), tr("各页目录"),
                             QIcon(QStringLiteral(":/report/icons/pagelist.svg")), false);
    pages->setCheckable(true);
    connect(pages, &QAction::toggled, m_pageList, &QWidget::setVisible);
    m_toolBar->addSeparator();
    connect(addTool(QStringLiteral("actPrint"), tr("打印..."), tr("打印报表"),
                    s->standardIcon(QStyle::SP_FileIcon), true),
            &QAction::triggered, this, &ReportPreview::print);
    m_toolBar->addSeparator();
    connect(addTool(QStringLiteral("actCopy"), QString(), tr("拷贝"),
                    s->standardIcon(QStyle::SP_FileDialogDetailedView), false),
            &QAction::triggered, this, &ReportPreview::copyPage);
    m_toolBar->addSeparator();
    connect(addTool(QStringLiteral("actFind"), QString(), tr("查找"),
                    QIcon(QStringLiteral(":/report/icons/find.svg")), false),
            &QAction::triggered, this, &ReportPreview::find);
    m_toolBar->addSeparator();
}

// One page or several side by side, and the zoom.
void ReportPreview::addViewTools() {
    connect(addTool(QStringLiteral("actSinglePage"), QString(), tr("单页显示"),
                    QIcon(QStringLiteral(":/report/icons/singlepage.svg")), false),
            &QAction::triggered, this, [this] { m_view->SetMultiPage(false); });
    connect(addTool(QStringLiteral("actMultiPage"), QString(), tr("多页显示"),
                    QIcon(QStringLiteral(":/report/icons/multipage.svg")), false),
            &QAction::triggered, this, [this] { m_view->SetMultiPage(true); });
    m_toolBar->addSeparator();
    connect(addTool(QStringLiteral("actZoomOut"), QString(), tr("缩小"),
                    QIcon(QStringLiteral(":/report/icons/zoomout.svg")), false),
            &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() / 1.25); });
    connect(addTool(QStringLiteral("actZoomIn"), QString(), tr("放大"),
                    QIcon(QStringLiteral(":/report/icons/zoomin.svg")), false),
            &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() * 1.25); });
    m_toolBar->addSeparator();
}

// The previous and next page, and back and forward through the pages visited
// (both off until there is a page to go to).
void ReportPreview::addMoveTools() {
    QStyle* s = style();
    connect(addTool(QStringLiteral("actPrevPage"), QString(), tr("上一页"),
                    s->standardIcon(QStyle::SP_MediaSeekBackward), false),
            &QAction::triggered, this, [this] { GoToPage(m_current - 1); });
    connect(addTool(QStringLiteral("actNextPage"), QString(), tr("下一页"),
                    s->standardIcon(QStyle::SP_MediaSeekForward), false),
            &QAction::triggered, this, [this] { GoToPage(m_current + 1); });
    m_toolBar->addSeparator();
    m_back = addTool(QStringLiteral("actBack"), tr("后退"), tr("后退"),
                     s->standardIcon(QStyle::SP_ArrowBack), true);
    connect(m_back, &QAction::triggered, this, &ReportPreview::Back);
    m_forward = addTool(QStringLiteral("actForward"), tr("前进"), tr("前进"),
                        s->standardIcon(QStyle::SP_ArrowForward), true);
    connect(m_forward, &QAction::triggered, this, &ReportPreview::Forward);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_toolBar->addSeparator();
}

void ReportPreview::addExportTool() {
    connect(addTool(QStringLiteral("actExportPdf"), tr("导出PDF"), tr("导出PDF文件"),
                    style()->standardIcon(QStyle::SP_DialogSaveButton), true),
            &QAction::triggered, this, &ReportPreview::exportPdf);
}

// The page scrolled to in the view and the one chosen in the page list are
// the page shown.
void ReportPreview::followPageChanges() {
    connect(m_view, &ReportPageView::currentPageChanged, this, &ReportPreview::onScrolledTo);
    connect(m_pageList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_moving && row >= 0)
            GoToPage(row + 1);
    });
}

ReportPreview::~ReportPreview() = default;

QAction* ReportPreview::addTool(const QString& name, const QString& caption, const QString& tip,
                                const QIcon& icon, bool showCaption) {
    QAction* a = m_toolBar->addAction(icon, caption.isEmpty() ? tip : caption);
    a->setIconText(caption.isEmpty() ? tip : caption); // else Qt drops the "..." of "打印..."
    a->setObjectName(name);
    a->setToolTip(tip);
    if (QWidget* button = m_toolBar->widgetForAction(a)) {
        button->setObjectName(name + QStringLiteral("Button"));
        if (auto* tool = qobject_cast<QToolButton*>(button))
            tool->setToolButtonStyle(showCaption ? Qt::ToolButtonTextBesideIcon
                                                 : Qt::ToolButtonIconOnly);
    }
    return a;
}

void ReportPreview::showPage(int page) {
    m_moving = true;
    m_current = page;
    m_view->SetCurrentPage(page);
    m_pageList->setCurrentRow(page - 1);
    m_back->setEnabled(CanGoBack());
    m_forward->setEnabled(CanGoForward());
    m_moving = false;
    emit pageShown(page);
}

void ReportPreview::GoToPage(int page) {
    page = qBound(1, page, qMax(1, m_doc.PageCount()));
    if (page != m_history[m_historyPos]) {
        m_history.resize(m_historyPos + 1);
        m_history.push_back(page);
        ++m_historyPos;
    }
    showPage(page);
}

bool ReportPreview::Back() {
    if (!CanGoBack())
        return false;
    showPage(m_history[--m_historyPos]);
    return true;
}

bool ReportPreview::Forward() {
    if (!CanGoForward())
        return false;
    showPage(m_history[++m_historyPos]);
    return true;
}

void ReportPreview::onScrolledTo(int page) {
    // Scrolling through the pages counts as visiting them.
    if (!m_moving && page != m_current)
        GoToPage(page);
}

bool ReportPreview::FindText(const QString& text) {
    if (text != m_lastFind)
        m_hit = ReportDocument::Hit();
    m_lastFind = text;
    ReportDocument::Hit hit = m_doc.Find(text, m_hit);
    if (!hit.found() && m_hit.found())
        hit = m_doc.Find(text); // from the start again
    m_hit = hit;
    m_view->SetHighlight(hit.page + 1, hit.rect);
    if (!hit.found())
        return false;
    GoToPage(hit.page + 1);
    m_view->ShowArea(hit.page + 1, hit.rect);
    return true;
}

bool ReportPreview::ExportPdf(const QString& fileName, Error* error) {
    return ReportPainter::WritePdfFile(m_doc, fileName, false, error);
}

void ReportPreview::print() {
    if (m_printer.Print(m_doc, true, this) == ReportPrinter::Result::Failed)
        message(tr("打印失败！"), true);
}

void ReportPreview::copyPage() {
    if (m_doc.PageCount() > 0)
        QApplication::clipboard()->setImage(ReportPainter::PageImage(m_doc, m_current - 1, 150));
}

void ReportPreview::find() {
    const QString text = m_findText ? m_findText().trimmed() : QString();
    if (text.isEmpty())
        return;
    if (!FindText(text))
        message(tr("找不到“%1”。").arg(text), false);
}

void ReportPreview::exportPdf() {
    const QString name =
        m_pdfName ? m_pdfName(m_doc.Caption() + QStringLiteral(".pdf")).trimmed() : QString();
    if (name.isEmpty())
        return;
    Error error;
    if (ExportPdf(name, &error))
        message(tr("PDF文件已导出！"), false);
    else
        message(tr("导出PDF失败！\n%1").arg(m_cause ? m_cause(name) : error.Text()), true);
}

void ReportPreview::message(const QString& text, bool isError) {
    if (m_message)
        m_message(text, isError);
}
