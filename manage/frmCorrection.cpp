#include "manage/frmCorrection.h"

#include "platform/DesktopKit.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbError.h"
#include "shared/records/clsDeptSet.h"
#include "shared/records/clsMonthClose.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

using Result = clsCorrection::Result;
using Action = clsCorrection::Action;

const QString kTitle = QStringLiteral("考勤修正");

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("HH:mm:ss")) : QString();
}

void warn(QWidget* parent, const QString& text) {
    MsgBox::ShowMessage(parent, text, QStringLiteral("警告"), MsgBox::Icon::Exclamation);
}

// "yyyy-MM" asked of the user; false when cancelled or not a month.
bool askMonth(QWidget* parent, const QString& title, QDate* month) {
    const QDate last = AppClock::now().date().addMonths(-1);
    const auto text = InputBox::GetText(parent, title, QStringLiteral("月份（年-月）："),
                                        last.toString(QStringLiteral("yyyy-MM")));
    if (!text)
        return false;
    *month =
        QDate::fromString(text->trimmed() + QStringLiteral("-01"), QStringLiteral("yyyy-M-dd"));
    if (!month->isValid())
        warn(parent, QStringLiteral("请按“年-月”输入月份，例如 %1。")
                         .arg(last.toString(QStringLiteral("yyyy-MM"))));
    return month->isValid();
}

void showOutcome(QWidget* parent, Result result, const DbError& why, const QDate& day,
                 const QString& done) {
    if (result == Result::Done)
        MsgBox::ShowMessage(parent, done, kTitle, MsgBox::Icon::Information);
    else if (result == Result::Failed)
        MsgBox::ShowMessage(parent, QStringLiteral("写入数据库失败：%1").arg(why.Text()),
                            QStringLiteral("错误"), MsgBox::Icon::Critical);
    else
        warn(parent, frmCorrection::ResultText(result, day));
}

} // namespace

frmCorrection::frmCorrection(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCorrection"));
    setWindowTitle(kTitle);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    buildControls();
    resize(640, 480);
}

void frmCorrection::buildControls() {
    auto* grid = new QGridLayout(this);
    m_byEmployee = named(new QRadioButton(QStringLiteral("员工工号"), this), "radEmployee");
    m_byDept = named(new QRadioButton(QStringLiteral("部门（一天）"), this), "radDept");
    m_number = named(new QLineEdit(this), "txtNumber");
    m_dept = named(new QComboBox(this), "cboDept");
    for (const clsDept& dept : clsDeptSet())
        m_dept->addItem(dept.DNAME(), int(dept.ID()));
    m_byEmployee->setChecked(true);
    const QDate today = AppClock::now().date();
    m_from = named(new QDateEdit(QDate(today.year(), today.month(), 1), this), "dtFrom");
    m_to = named(new QDateEdit(today, this), "dtTo");
    for (QDateEdit* d : {m_from, m_to}) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
    }
    auto* load = named(new QPushButton(QStringLiteral("查询"), this), "btnLoad");
    grid->addWidget(m_byEmployee, 0, 0);
    grid->addWidget(m_number, 0, 1);
    grid->addWidget(m_byDept, 0, 2);
    grid->addWidget(m_dept, 0, 3);
    grid->addWidget(named(new QLabel(QStringLiteral("日期"), this), "lblDates"), 1, 0);
    grid->addWidget(m_from, 1, 1);
    grid->addWidget(m_to, 1, 2);
    grid->addWidget(load, 1, 3);

    m_list = named(new QTreeWidget(this), "lsvDays");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("工号"), QStringLiteral("姓名"), QStringLiteral("日期"),
                             QStringLiteral("签到"), QStringLiteral("签退"),
                             QStringLiteral("其他记录")});
    grid->addWidget(m_list, 2, 0, 1, 4);

    m_useArrival = named(new QCheckBox(QStringLiteral("签到"), this), "chkArrival");
    m_arrival = named(new QTimeEdit(QTime(8, 0), this), "tmArrival");
    m_useDeparture = named(new QCheckBox(QStringLiteral("签退"), this), "chkDeparture");
    m_departure = named(new QTimeEdit(QTime(17, 0), this), "tmDeparture");
    for (QTimeEdit* t : {m_arrival, m_departure})
        t->setDisplayFormat(QStringLiteral("HH:mm"));
    auto* times = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_useArrival, m_arrival, m_useDeparture, m_departure})
        times->addWidget(w);
    grid->addLayout(times, 3, 0, 1, 4);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, Action> actions[] = {
        {"btnAdd", Action::Add}, {"btnChange", Action::Change}, {"btnRemove", Action::Remove}};
    const QString captions[] = {QStringLiteral("补签"), QStringLiteral("修改"),
                                QStringLiteral("删除")};
    for (int i = 0; i < 3; ++i) {
        auto* b = named(new QPushButton(captions[i], this), actions[i].first);
        const Action action = actions[i].second;
        connect(b, &QPushButton::clicked, this, [this, action] { apply(action); });
        buttons->addWidget(b);
    }
    auto* close = named(new QPushButton(QStringLiteral("关闭"), this), "btnClose");
    buttons->addStretch();
    buttons->addWidget(close);
    grid->addLayout(buttons, 4, 0, 1, 4);
    connect(load, &QPushButton::clicked, this, &frmCorrection::loadDays);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void frmCorrection::loadDays() {
    DbError why;
    const bool ok = m_byDept->isChecked()
                        ? clsCorrection::DepartmentDay(m_dept->currentData().toInt(),
                                                       m_from->date(), &m_days, &why)
                        : clsCorrection::EmployeeDays(m_number->text().trimmed(), m_from->date(),
                                                      m_to->date(), &m_days, &why);
    m_list->clear();
    if (!ok) {
        MsgBox::ShowMessage(this, QStringLiteral("读取考勤记录失败：%1").arg(why.Text()),
                            QStringLiteral("错误"), MsgBox::Icon::Critical);
        return;
    }
    if (m_days.empty() && m_byEmployee->isChecked())
        warn(this, ResultText(Result::NoEmployee, QDate()));
    // A correction changes the day's first record; the others stay as they are.
    for (const clsCorrection::Day& d : m_days)
        m_list->addTopLevelItem(new QTreeWidgetItem(
            {d.number, d.name, d.date.toString(QStringLiteral("yyyy-MM-dd")), timeText(d.arrival),
             timeText(d.departure),
             d.others > 0 ? QStringLiteral("另有%1条").arg(d.others) : QString()}));
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void frmCorrection::apply(Action action) {
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || row >= int(m_days.size())) {
        warn(this, QStringLiteral("请先选择一天的记录。"));
        return;
    }
    clsCorrection::Request r;
    r.action = action;
    r.number = m_days[size_t(row)].number;
    r.date = m_days[size_t(row)].date;
    if (action != Action::Remove) {
        r.arrival = m_useArrival->isChecked() ? m_arrival->time() : QTime();
        r.departure = m_useDeparture->isChecked() ? m_departure->time() : QTime();
    }
    const auto reason = InputBox::GetText(this, kTitle, QStringLiteral("修正原因（必填）："));
    if (!reason)
        return;
    r.reason = *reason;
    DbError why;
    const Result result = clsCorrection::Apply(r, clsCorrection::Operator::Current(), &why);
    if (result == Result::Done)
        loadDays();
    else
        showOutcome(this, result, why, r.date, QString());
}

QString frmCorrection::ResultText(Result result, const QDate& day) {
    switch (result) {
    case Result::Done:
    case Result::Failed:
        break;
    case Result::EmptyReason:
        return QStringLiteral("必须填写修正原因。");
    case Result::NoEmployee:
        return QStringLiteral("没有这个工号的员工。");
    case Result::MonthClosed:
    case Result::AlreadyClosed:
        return QStringLiteral("%1年%2月已月结").arg(day.year()).arg(day.month());
    case Result::FutureTime:
        return QStringLiteral("不能记录晚于现在的时间。");
    case Result::NoRecord:
        return QStringLiteral("这一天没有考勤记录。");
    case Result::SecondArrival:
        return QStringLiteral("这一天已有签到，请用“修改”。");
    case Result::DepartureExists:
        return QStringLiteral("这一天已有签退，请用“修改”。");
    case Result::NoArrival:
        return QStringLiteral("没有签到不能补签退。");
    case Result::DepartureBeforeArrival:
        return QStringLiteral("签退时间必须晚于签到时间。");
    case Result::NothingGiven:
        return QStringLiteral("请勾选签到或签退时间。");
    case Result::CurrentMonth:
        return QStringLiteral("只能月结已过去的月份。");
    case Result::NotClosed:
        return QStringLiteral("%1年%2月未月结").arg(day.year()).arg(day.month());
    case Result::WrongPassword:
        return QStringLiteral("管理员密码不正确。");
    }
    return QString();
}

void frmCorrection::CloseMonth(QWidget* parent) {
    QDate month;
    if (!askMonth(parent, QStringLiteral("月结"), &month))
        return;
    DbError why;
    const Result result =
        clsMonthClose::Close(month.year(), month.month(), clsCorrection::Operator::Current(), &why);
    showOutcome(parent, result, why, month,
                QStringLiteral("%1年%2月已月结。").arg(month.year()).arg(month.month()));
}

void frmCorrection::ReopenMonth(QWidget* parent) {
    QDate month;
    if (!askMonth(parent, QStringLiteral("取消月结"), &month))
        return;
    const auto password =
        InputBox::GetPassword(parent, QStringLiteral("取消月结"), QStringLiteral("管理员密码："));
    if (!password)
        return;
    DbError why;
    const Result result = clsMonthClose::Reopen(month.year(), month.month(), *password,
                                                clsCorrection::Operator::Current(), &why);
    showOutcome(parent, result, why, month,
                QStringLiteral("%1年%2月已取消月结。").arg(month.year()).arg(month.month()));
}

void frmCorrection::AddMenu(QMenuBar* bar, QWidget* parent) {
    QMenu* menu = nullptr;
    QAction* help = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->menu() && a->menu()->title().startsWith(QStringLiteral("考勤")))
            menu = a->menu();
        if (a->menu() && a->menu()->title().startsWith(QStringLiteral("帮助")))
            help = a;
    }
    if (!menu) {
        menu = named(new QMenu(QStringLiteral("考勤(&A)"), bar), "mnuAttendance");
        bar->insertMenu(help, menu);
    } else if (!menu->isEmpty()) {
        named(menu->addSeparator(), "mnuSplitCorrection");
    }
    const auto add = [menu, parent](const QString& text, const char* name, auto slot) {
        QAction* action = named(new QAction(text, menu), name);
        menu->addAction(action);
        QObject::connect(action, &QAction::triggered, parent, [parent, slot] { slot(parent); });
    };
    add(QStringLiteral("考勤修正(&R)…"), "mnuCorrection", [](QWidget* p) {
        frmCorrection window(p);
        window.exec();
    });
    add(QStringLiteral("月结(&L)…"), "mnuCloseMonth", &frmCorrection::CloseMonth);
    add(QStringLiteral("取消月结(&O)…"), "mnuReopenMonth", &frmCorrection::ReopenMonth);
}
