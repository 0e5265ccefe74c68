#include "manage/frmCorrection.h"
#include "ui_frmCorrection.h"

#include "manage/frmCorrectionTrail.h"
#include "platform/DesktopKit.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbErrors.h"
#include "shared/records/MonthChoice.h"
#include "shared/records/clsDeptSet.h"
#include "shared/records/clsMonthClose.h"
#include "texts/DayVerdictText.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include <map>

namespace {

using Result = clsCorrection::Result;
using Action = clsCorrection::Action;

QString correctionTitle() {
    return frmCorrection::tr("考勤修正");
}

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("HH:mm:ss")) : QString();
}

void warn(QWidget* parent, const QString& text) {
    MsgBox::ShowMessage(parent, text, frmCorrection::tr("警告"), MsgBox::Icon::Exclamation);
}

// "yyyy-MM" asked of the user; false when cancelled or not a month.
bool askMonth(QWidget* parent, const QString& title, QDate* month) {
    const QDate last = AppClock::now().date().addMonths(-1);
    const auto text = InputBox::GetText(parent, title, frmCorrection::tr("月份（年-月）："),
                                        last.toString(QStringLiteral("yyyy-MM")));
    if (!text)
        return false;
    const MonthChoice::YearMonth chosen = MonthChoice::ParseText(*text);
    if (!chosen.IsValid()) {
        warn(parent, frmCorrection::tr("请按“年-月”输入月份，例如 %1。")
                         .arg(last.toString(QStringLiteral("yyyy-MM"))));
        return false;
    }
    *month = MonthChoice::FirstDate(chosen.year, chosen.month);
    return true;
}

void showOutcome(QWidget* parent, Result result, const Error& why, const QDate& day,
                 const QString& done, const QString& title = correctionTitle()) {
    if (result == Result::Done)
        MsgBox::ShowMessage(parent, done, title, MsgBox::Icon::Information);
    else if (result == Result::Failed)
        MsgBox::ShowMessage(parent, frmCorrection::tr("写入数据库失败：%1").arg(why.Text()),
                            frmCorrection::tr("错误"), MsgBox::Icon::Critical);
    else
        warn(parent, frmCorrection::ResultText(result, day));
}

} // namespace

frmCorrection::frmCorrection(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmCorrection>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    for (const clsDept& dept : clsDeptSet(MainSession::Get()))
        ui->cboDept->addItem(dept.DNAME(), int(dept.ID()));
    const QDate today = AppClock::now().date();
    ui->dtFrom->setDate(QDate(today.year(), today.month(), 1));
    ui->dtTo->setDate(today);

    const std::pair<QPushButton*, Action> actions[] = {{ui->btnAdd, Action::Add},
                                                       {ui->btnChange, Action::Change},
                                                       {ui->btnRemove, Action::Remove}};
    for (const auto& [button, action] : actions)
        connect(button, &QPushButton::clicked, this, [this, action = action] { apply(action); });
    connect(ui->btnLoad, &QPushButton::clicked, this, &frmCorrection::loadDays);
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmCorrection::~frmCorrection() = default;

void frmCorrection::loadDays() {
    Error why;
    const bool ok =
        ui->radDept->isChecked()
            ? clsCorrection::DepartmentDay(MainSession::Get(), ui->cboDept->currentData().toInt(),
                                           ui->dtFrom->date(), &m_days, &why)
            : clsCorrection::EmployeeDays(MainSession::Get(), ui->txtNumber->text().trimmed(),
                                          ui->dtFrom->date(), ui->dtTo->date(), &m_days, &why);
    ui->lsvDays->clear();
    if (!ok) {
        MsgBox::ShowMessage(this, tr("读取考勤记录失败：%1").arg(why.Text()), tr("错误"),
                            MsgBox::Icon::Critical);
        return;
    }
    if (m_days.empty() && ui->radEmployee->isChecked())
        warn(this, ResultText(Result::NoEmployee, QDate()));
    // The corrected days marked as the summary marks them: 补 added, 改 changed or removed.
    std::map<QDate, clsCorrection::Marks> months; // by the month's first day
    for (const clsCorrection::Day& d : m_days) {
        const QDate month(d.date.year(), d.date.month(), 1);
        if (!months.count(month) &&
            !clsCorrection::MonthMarks(MainSession::Get(), month.year(), month.month(),
                                       &months[month], &why)) {
            MsgBox::ShowMessage(this, tr("读取修正记录失败：%1").arg(why.Text()), tr("错误"),
                                MsgBox::Icon::Critical);
            break;
        }
    }
    for (const clsCorrection::Day& d : m_days) {
        const clsCorrection::Marks& marks = months[QDate(d.date.year(), d.date.month(), 1)];
        const auto employee = marks.find(d.number);
        QString mark;
        if (employee != marks.end() && employee->second.count(d.date.day()))
            mark = DayMarkText(employee->second.at(d.date.day()) == Action::Add ? DayMark::Added
                                                                                : DayMark::Changed);
        // A correction changes the day's first record; the others stay as they are.
        ui->lsvDays->addTopLevelItem(
            new QTreeWidgetItem({d.number, d.name, d.date.toString(QStringLiteral("yyyy-MM-dd")),
                                 timeText(d.arrival), timeText(d.departure), mark,
                                 d.others > 0 ? tr("另有%1条").arg(d.others) : QString()}));
    }
    if (ui->lsvDays->topLevelItemCount() > 0)
        ui->lsvDays->setCurrentItem(ui->lsvDays->topLevelItem(0));
}

void frmCorrection::apply(Action action) {
    QTreeWidget* list = ui->lsvDays;
    const int row = list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
    if (row < 0 || row >= int(m_days.size())) {
        warn(this, tr("请先选择一天的记录。"));
        return;
    }
    const clsCorrection::Day day = m_days[size_t(row)];
    clsCorrection::Request r;
    r.action = action;
    r.number = day.number;
    r.date = day.date;
    if (action != Action::Remove) {
        r.arrival = ui->chkArrival->isChecked() ? ui->tmArrival->time() : QTime();
        r.departure = ui->chkDeparture->isChecked() ? ui->tmDeparture->time() : QTime();
    }
    // The entry is checked first, so a refused one costs no typing; Apply
    // decides again when it writes.
    Error why;
    Result result = clsCorrection::Check(MainSession::Get(), r, &why);
    if (result == Result::Done) {
        const auto reason = InputBox::GetText(this, correctionTitle(), tr("修正原因（必填）："));
        if (!reason)
            return;
        r.reason = *reason;
        result =
            clsCorrection::Apply(MainSession::Get(), r, clsCorrection::Operator::Current(), &why);
    }
    if (result != Result::Done) {
        showOutcome(this, result, why, r.date, QString());
        return;
    }
    loadDays();
    for (int i = 0; i < int(m_days.size()); ++i)
        if (m_days[size_t(i)].number == day.number && m_days[size_t(i)].date == day.date)
            list->setCurrentItem(list->topLevelItem(i));
    const QString done = action == Action::Add      ? tr("补签", "done")
                         : action == Action::Change ? tr("修改", "done")
                                                    : tr("删除", "done");
    ui->sbrStatus->showMessage(
        tr("%1 %2（%3）的考勤已%4。")
            .arg(day.date.toString(QStringLiteral("yyyy-MM-dd")), day.name, day.number, done));
}

QString frmCorrection::ResultText(Result result, const QDate& day) {
    switch (result) {
    case Result::Done:
    case Result::Failed:
        break;
    case Result::EmptyReason:
        return tr("必须填写修正原因。");
    case Result::NoEmployee:
        return tr("没有这个工号的员工。");
    case Result::MonthClosed:
    case Result::AlreadyClosed:
        return tr("%1年%2月已月结").arg(day.year()).arg(day.month());
    case Result::FutureTime:
        return tr("不能记录晚于现在的时间。");
    case Result::NoRecord:
        return tr("这一天没有考勤记录。");
    case Result::SecondArrival:
        return tr("这一天已有签到，请用“修改”。");
    case Result::DepartureExists:
        return tr("这一天已有签退，请用“修改”。");
    case Result::NoArrival:
        return tr("没有签到不能补签退。");
    case Result::DepartureBeforeArrival:
        return tr("签退时间必须晚于签到时间。");
    case Result::NothingGiven:
        return tr("请勾选签到或签退时间。");
    case Result::CurrentMonth:
        return tr("只能月结已过去的月份。");
    case Result::NotClosed:
        return tr("%1年%2月未月结").arg(day.year()).arg(day.month());
    case Result::WrongPassword:
        return tr("管理员密码不正确。");
    }
    return QString();
}

void frmCorrection::CloseMonth(QWidget* parent) {
    QDate month;
    const QString title = tr("月结");
    if (!askMonth(parent, title, &month))
        return;
    // The month box takes Return at once: closing, undone only with the
    // administrator password, is asked again in words.
    const QString name = tr("%1年%2月").arg(month.year()).arg(month.month());
    if (MsgBox::ShowMessage(parent,
                            tr("月结后，%1的考勤记录不能再补签、修改或删除，只有输入管理"
                               "员密码取消月结后才能再修正。\n确定要月结%1吗？")
                                .arg(name),
                            title, MsgBox::Icon::Question,
                            MsgBox::Buttons::YesNo) != MsgBox::Result::Yes)
        return;
    Error why;
    const Result result = clsMonthClose::Close(MainSession::Get(), month.year(), month.month(),
                                               clsCorrection::Operator::Current(), &why);
    showOutcome(parent, result, why, month, tr("%1已月结。").arg(name), title);
}

void frmCorrection::ReopenMonth(QWidget* parent) {
    QDate month;
    if (!askMonth(parent, tr("取消月结"), &month))
        return;
    const auto password = InputBox::GetPassword(parent, tr("取消月结"), tr("管理员密码："));
    if (!password)
        return;
    Error why;
    const Result result =
        clsMonthClose::Reopen(MainSession::Get(), month.year(), month.month(), *password,
                              clsCorrection::Operator::Current(), &why);
    showOutcome(parent, result, why, month,
                tr("%1年%2月已取消月结。").arg(month.year()).arg(month.month()), tr("取消月结"));
}

void frmCorrection::AddMenu(QMenuBar* bar, QWidget* parent) {
    QMenu* menu = bar->findChild<QMenu*>(QStringLiteral("mnuAttendance"));
    const QMenu* helpMenu = bar->findChild<QMenu*>(QStringLiteral("mnuHelp"));
    QAction* help = helpMenu ? helpMenu->menuAction() : nullptr;
    if (!menu) {
        menu = named(new QMenu(tr("考勤(&A)"), bar), "mnuAttendance");
        bar->insertMenu(help, menu);
    } else if (!menu->isEmpty()) {
        named(menu->addSeparator(), "mnuSplitCorrection");
    }
    const auto add = [menu, parent](const QString& text, const char* name, auto slot) {
        QAction* action = named(new QAction(text, menu), name);
        menu->addAction(action);
        QObject::connect(action, &QAction::triggered, parent, [parent, slot] { slot(parent); });
    };
    add(tr("考勤修正(&R)…"), "mnuCorrection", [](QWidget* p) {
        frmCorrection window(p);
        window.exec();
    });
    add(tr("考勤修正记录(&T)…"), "mnuCorrectionTrail", [](QWidget* p) {
        frmCorrectionTrail window(p);
        window.exec();
    });
    add(tr("月结(&L)…"), "mnuCloseMonth", &frmCorrection::CloseMonth);
    add(tr("取消月结(&O)…"), "mnuReopenMonth", &frmCorrection::ReopenMonth);
}
