#include "manage/frmWorkCalendar.h"
#include "ui_frmWorkCalendar.h"

#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "platform/WriteFailure.h"
#include "session/MainSession.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/base/AppClock.h"
#include "shared/base/AtomicFile.h"
#include "shared/exchange/CalendarFile.h"
#include "texts/CalendarKindText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr CalendarKind kKinds[] = {CalendarKind::Holiday, CalendarKind::Workday,
                                   CalendarKind::Rest};

// The file dialogs' filter of calendar files.
QString csvFilter() {
    return frmWorkCalendar::tr("CSV文件 (*.csv *.CSV)");
}

void warn(QWidget* parent, const QString& text) {
    MsgBox::ShowMessage(parent, text, frmWorkCalendar::tr("警告"), MsgBox::Icon::Exclamation);
}

void fail(QWidget* parent, const QString& text) {
    MsgBox::ShowMessage(parent, text, frmWorkCalendar::tr("错误"), MsgBox::Icon::Exclamation);
}

// Monday to Friday are worked anyway: a make-up workday there changes nothing.
bool pointlessWorkday(const QDate& date, CalendarKind kind) {
    return kind == CalendarKind::Workday && date.dayOfWeek() <= 5;
}

// "2026-12-23", "2026-12-21、2026-12-22" or "2026-12-21、2026-12-22、2026-12-23等5天".
QString dateList(const QList<QDate>& dates) {
    QStringList shown;
    for (qsizetype i = 0; i < dates.size() && i < 3; ++i)
        shown << dates[i].toString(Qt::ISODate);
    QString text = shown.join(frmWorkCalendar::tr("、"));
    if (dates.size() > 3)
        text += frmWorkCalendar::tr("等%1天").arg(dates.size());
    return text;
}

// The cause of a fault the reader names in English for the command line
// ("line N: reason"), in the window's words.
QString importFault(const QString& why) {
    static const QRegularExpression twice(QStringLiteral("^line (\\d+): date (\\S+) given twice$"));
    static const QRegularExpression line(QStringLiteral("line (\\d+)"));
    if (const QRegularExpressionMatch m = twice.match(why); m.hasMatch())
        return frmWorkCalendar::tr("导入失败！日历文件第%1行：日期 %2 重复。")
            .arg(m.captured(1), m.captured(2));
    if (const QRegularExpressionMatch m = line.match(why); m.hasMatch())
        return frmWorkCalendar::tr("导入失败！日历文件第%1行格式不正确。").arg(m.captured(1));
    return frmWorkCalendar::tr("导入失败！日历文件格式不正确。");
}

} // namespace

frmWorkCalendar::frmWorkCalendar(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmWorkCalendar>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    for (CalendarKind kind : kKinds)
        ui->cobKind->addItem(CalendarKindText(kind), int(kind));

    const QDate today = AppClock::now().date();
    for (int y = today.year() - 2; y <= today.year() + 2; ++y)
        ui->cobYear->addItem(QString::number(y), y);
    {
        const QSignalBlocker quiet(ui->cobYear);
        ui->cobYear->setCurrentIndex(ui->cobYear->findData(today.year()));
    }
    ui->dtpFrom->setDate(today);
    ui->dtpTo->setDate(today);
    LoadYear(today.year());

    connect(ui->cobYear, &QComboBox::currentIndexChanged, this, &frmWorkCalendar::cobYear_Changed);
    connect(ui->dtpFrom, &QDateEdit::dateChanged, this, [this](const QDate& from) {
        if (ui->dtpTo->date() < from)
            ui->dtpTo->setDate(from);
    });
    connect(ui->cmdAdd, &QPushButton::clicked, this, &frmWorkCalendar::cmdAdd_Click);
    connect(ui->cmdRemove, &QPushButton::clicked, this, &frmWorkCalendar::cmdRemove_Click);
    connect(ui->cmdSave, &QPushButton::clicked, this, &frmWorkCalendar::cmdSave_Click);
    connect(ui->cmdImport, &QPushButton::clicked, this, &frmWorkCalendar::cmdImport_Click);
    connect(ui->cmdExport, &QPushButton::clicked, this, &frmWorkCalendar::cmdExport_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
}

frmWorkCalendar::~frmWorkCalendar() = default;

void frmWorkCalendar::LoadYear(int year) {
    m_year = year;
    m_calendar = WorkCalendar();
    m_changed = false;
    Error error;
    if (!AttendanceStore::LoadCalendar(MainSession::Get(), QDate(year, 1, 1), QDate(year, 12, 31),
                                       &m_calendar, &error))
        MsgBox::ShowMessage(this, tr("读取节假日安排失败！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
    ShowDates();
}

void frmWorkCalendar::ShowDates() {
    ui->lsvDates->clear();
    QList<QTreeWidgetItem*> rows;
    for (const CalendarDay& day : m_calendar.Days()) {
        auto* row = new QTreeWidgetItem( // owned by the list once added
            {day.date.toString(QStringLiteral("yyyy-MM-dd")), CalendarKindText(day.kind),
             day.name});
        row->setData(0, Qt::UserRole, day.date);
        rows << row;
    }
    ui->lsvDates->addTopLevelItems(rows);
}

void frmWorkCalendar::cobYear_Changed(int index) {
    const int year = ui->cobYear->itemData(index).toInt();
    if (year == m_year)
        return;
    if (!MayDropEdits()) {
        const QSignalBlocker quiet(ui->cobYear);
        ui->cobYear->setCurrentIndex(ui->cobYear->findData(m_year));
        return;
    }
    LoadYear(year);
}

bool frmWorkCalendar::MayDropEdits() {
    return !m_changed ||
           MsgBox::ShowMessage(this, tr("%1年的修改尚未保存，放弃这些修改吗？").arg(m_year),
                               tr("询问"), MsgBox::Icon::Question,
                               MsgBox::Buttons::YesNo) == MsgBox::Result::Yes;
}

void frmWorkCalendar::AddYear(int year) {
    if (ui->cobYear->findData(year) >= 0)
        return;
    int at = 0;
    while (at < ui->cobYear->count() && ui->cobYear->itemData(at).toInt() < year)
        ++at;
    const QSignalBlocker quiet(ui->cobYear);
    ui->cobYear->insertItem(at, QString::number(year), year);
}

void frmWorkCalendar::ShowYear(int year) {
    AddYear(year);
    {
        const QSignalBlocker quiet(ui->cobYear);
        ui->cobYear->setCurrentIndex(ui->cobYear->findData(year));
    }
    LoadYear(year);
}

void frmWorkCalendar::reject() {
    // Escape, 退出 and the close box all come here.
    if (MayDropEdits())
        QDialog::reject();
}

void frmWorkCalendar::cmdAdd_Click() {
    const QDate from = ui->dtpFrom->date();
    const QDate to = ui->dtpTo->date();
    if (to < from)
        return warn(this, tr("结束日期不能早于开始日期！"));
    if (!InYear(from) || !InYear(to))
        return warn(this, tr("日期必须在%1年之内！").arg(m_year));
    const auto kind = static_cast<CalendarKind>(ui->cobKind->currentData().toInt());
    QList<QDate> weekdays;
    for (QDate d = from; d <= to; d = d.addDays(1))
        if (pointlessWorkday(d, kind))
            weekdays << d;
    if (!weekdays.isEmpty())
        return warn(this, tr("%1是工作日，不需要设为调休上班。").arg(dateList(weekdays)));
    const QString name = ui->txtName->text().trimmed();
    for (QDate d = from; d <= to; d = d.addDays(1))
        m_calendar.Set({d, kind, name});
    m_changed = true;
    ShowDates();
}

void frmWorkCalendar::cmdRemove_Click() {
    const QList<QTreeWidgetItem*> chosen = ui->lsvDates->selectedItems();
    if (chosen.isEmpty())
        return;
    for (const QTreeWidgetItem* row : chosen)
        m_calendar.Remove(row->data(0, Qt::UserRole).toDate());
    m_changed = true;
    ShowDates();
}

void frmWorkCalendar::cmdSave_Click() {
    Error error;
    if (!AttendanceStore::ReplaceCalendarYears(MainSession::Get(), {m_year}, m_calendar.Days(),
                                               &error)) {
        MsgBox::ShowMessage(this, tr("保存节假日安排失败！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    m_changed = false;
    MsgBox::ShowMessage(this, tr("%1年的节假日安排已保存！").arg(m_year), tr("信息"),
                        MsgBox::Icon::Information);
}

void frmWorkCalendar::cmdImport_Click() {
    const QString path = FileDialog::OpenFile(this, tr("导入日历"), csvFilter());
    if (path.isEmpty())
        return;
    QFile file(path);
    std::vector<CalendarDay> days;
    QList<int> years;
    Error why;
    if (!file.open(QIODevice::ReadOnly))
        return fail(this, tr("导入失败！无法读取文件“%1”。").arg(QDir::toNativeSeparators(path)));
    if (!CalendarFile::Parse(file.readAll(), &days, &years, &why))
        return fail(this, importFault(why.Text()));
    if (years.isEmpty())
        return warn(this, tr("日历文件中没有日期，未做任何修改。"));
    // As the command line's import: the years the file names are replaced
    // by its dates, every other year stays as stored.
    if (!MayDropEdits())
        return;
    Error error;
    if (!AttendanceStore::ReplaceCalendarYears(MainSession::Get(), years, days, &error))
        return fail(this, tr("导入失败！\n%1").arg(error.Text()));
    std::sort(years.begin(), years.end());
    QStringList parts;
    for (int year : years) {
        AddYear(year);
        parts << tr("%1年%2个日期")
                     .arg(year)
                     .arg(std::count_if(days.begin(), days.end(), [year](const CalendarDay& d) {
                         return d.date.year() == year;
                     }));
    }
    m_changed = false; // the edits on show were given up above
    ShowYear(years.contains(m_year) ? m_year : years.first());
    QString text = tr("已导入并保存%1；文件中没有的年份未改变。").arg(parts.join(tr("、")));
    // Stored as the file says, as the command line does, but told.
    QList<QDate> weekdays;
    for (const CalendarDay& d : days)
        if (pointlessWorkday(d.date, d.kind))
            weekdays << d.date;
    if (!weekdays.isEmpty())
        text += tr("\n注意：%1是工作日，设为调休上班不起作用。").arg(dateList(weekdays));
    MsgBox::ShowMessage(this, text, tr("信息"), MsgBox::Icon::Information);
}

void frmWorkCalendar::cmdExport_Click() {
    const QString path =
        FileDialog::SaveFile(this, tr("导出日历"), csvFilter(), tr("节假日安排_%1.csv").arg(m_year))
            .trimmed();
    if (path.isEmpty())
        return;
    // The list as shown; like every export an existing file is left as it is.
    if (!AtomicFile::WriteWhole(path, CalendarFile::Bytes(m_calendar.Days()), false, nullptr))
        return fail(this, tr("导出失败！\n%1").arg(WriteFailure::Cause(path)));
    MsgBox::ShowMessage(this, tr("日历文件已导出！"), tr("信息"), MsgBox::Icon::Information);
}
