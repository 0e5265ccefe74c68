#include "manage/frmCorrectionTrail.h"
#include "ui_frmCorrectionTrail.h"

#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "platform/WriteFailure.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/base/AtomicFile.h"
#include "shared/base/CsvText.h"
#include "shared/db/DbErrors.h"
#include "shared/records/clsCorrection.h"

namespace {

QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("HH:mm:ss")) : QString();
}

// The cells of a row of the trail, in the list's column order. A month's
// closing names its month in the date column; a day's correction the day.
QStringList cells(const clsCorrection::TrailRow& r) {
    const QString key = clsCorrection::ActionKey(r.action);
    const bool month = key == QLatin1String("close") || key == QLatin1String("reopen");
    const QDateTime day = r.newArrival.isValid() ? r.newArrival : r.oldArrival;
    const QString date = !day.isValid() ? QString()
                         : month        ? day.toString(QStringLiteral("yyyy-MM"))
                                        : day.toString(QStringLiteral("yyyy-MM-dd"));
    return {r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            frmCorrectionTrail::ActionText(key),
            r.number,
            date,
            timeText(r.oldArrival),
            timeText(r.oldDeparture),
            month ? QString() : timeText(r.newArrival),
            timeText(r.newDeparture),
            r.reason,
            r.login,
            r.host,
            r.program};
}

} // namespace

frmCorrectionTrail::frmCorrectionTrail(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmCorrectionTrail>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    // Last month and this one so far: where corrections are made before closing.
    const QDate today = AppClock::now().date();
    ui->dtpFrom->setDate(QDate(today.year(), today.month(), 1).addMonths(-1));
    ui->dtpTo->setDate(today);
    connect(ui->cmdQuery, &QPushButton::clicked, this, &frmCorrectionTrail::cmdQuery_Click);
    connect(ui->cmdExport, &QPushButton::clicked, this, &frmCorrectionTrail::cmdExport_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
    cmdQuery_Click();
}

frmCorrectionTrail::~frmCorrectionTrail() = default;

QString frmCorrectionTrail::ActionText(const QString& key) {
    static const std::pair<const char*, const char*> texts[] = {
        {"add", QT_TR_NOOP("补签")},
        {"change", QT_TR_NOOP("修改")},
        {"remove", QT_TR_NOOP("删除")},
        {"close", QT_TR_NOOP("月结")},
        {"reopen", QT_TR_NOOP("取消月结")},
        {"replay", QT_TR_NOOP("补传")},
        {"password", QT_TR_NOOP("修改管理员密码")}};
    for (const auto& [k, text] : texts)
        if (key == QLatin1String(k))
            return tr(text);
    return key; // a kind written by a newer program
}

void frmCorrectionTrail::cmdQuery_Click() {
    ui->lsvTrail->clear();
    ui->lblCount->clear();
    if (ui->dtpTo->date() < ui->dtpFrom->date()) {
        MsgBox::ShowMessage(this, tr("结束日期不能早于开始日期！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    std::vector<clsCorrection::TrailRow> rows;
    Error why;
    if (!clsCorrection::Trail(MainSession::Get(), ui->dtpFrom->date(), ui->dtpTo->date(),
                              ui->txtNumber->text().trimmed(), &rows, &why)) {
        MsgBox::ShowMessage(this, tr("读取修正记录失败：%1").arg(why.Text()), tr("错误"),
                            MsgBox::Icon::Critical);
        return;
    }
    QList<QTreeWidgetItem*> items;
    for (const clsCorrection::TrailRow& r : rows)
        items << new QTreeWidgetItem(cells(r)); // owned by the list once added
    ui->lsvTrail->addTopLevelItems(items);
    for (int c = 0; c < ui->lsvTrail->columnCount(); ++c)
        ui->lsvTrail->resizeColumnToContents(c);
    ui->lblCount->setText(tr("共%1条记录").arg(rows.size()));
}

void frmCorrectionTrail::cmdExport_Click() {
    const QString path =
        FileDialog::SaveFile(this, tr("导出修正记录"), tr("CSV文件 (*.csv *.CSV)"),
                             tr("考勤修正记录_%1_%2.csv")
                                 .arg(ui->dtpFrom->date().toString(QStringLiteral("yyyyMMdd")),
                                      ui->dtpTo->date().toString(QStringLiteral("yyyyMMdd"))))
            .trimmed();
    if (path.isEmpty())
        return;
    // The rows on show under the list's captions, as the other CSV files:
    // UTF-8 with a byte-order mark for spreadsheets, never over a file.
    const QTreeWidget* list = ui->lsvTrail;
    QStringList captions;
    for (int c = 0; c < list->columnCount(); ++c)
        captions << list->headerItem()->text(c);
    QString text = CsvText::Line(captions);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList fields;
        for (int c = 0; c < list->columnCount(); ++c)
            fields << list->topLevelItem(i)->text(c);
        text += CsvText::Line(fields);
    }
    if (!AtomicFile::WriteWhole(path, QByteArray("\xEF\xBB\xBF") + text.toUtf8(), false, nullptr)) {
        MsgBox::ShowMessage(this, tr("导出失败！\n%1").arg(WriteFailure::Cause(path)), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    MsgBox::ShowMessage(this, tr("修正记录已导出！共%1条。").arg(list->topLevelItemCount()),
                        tr("信息"), MsgBox::Icon::Information);
}
