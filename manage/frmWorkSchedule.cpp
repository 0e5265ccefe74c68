#include "manage/frmWorkSchedule.h"
#include "ui_frmWorkSchedule.h"

#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/attendance/AttendanceStore.h"
#include "shared/records/clsDeptSet.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QSpinBox>
#include <QTimeEdit>

#include <algorithm>

namespace {

constexpr int kMaxGrace = DaySchedule::kMaxGrace; // minutes
enum Column { ColWorking, ColStart, ColEnd, ColLate, ColEarly, ColumnCount };

template <typename T> T* cell(QTableWidget* grid, int row, int column) {
    return qobject_cast<T*>(grid->cellWidget(row, column));
}

QTimeEdit* timeEditor(const QString& name) {
    auto* edit = new QTimeEdit; // owned by the grid once placed
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    return edit;
}

QSpinBox* graceEditor(const QString& name) {
    auto* spin = new QSpinBox; // owned by the grid once placed
    spin->setObjectName(name);
    // Wider than allowed, so that a number typed too large stays as typed
    // and saving refuses it with the reason (a range of 0 to 240 would
    // silently drop the third digit of 300).
    spin->setRange(0, 999);
    return spin;
}

// The week as the grid shows it: a time not stored shows as 08:00 or 17:00.
WorkSchedule asShown(WorkSchedule week) {
    for (DaySchedule& day : week.days) {
        if (!day.start.isValid())
            day.start = QTime(8, 0);
        if (!day.end.isValid())
            day.end = QTime(17, 0);
    }
    return week;
}

bool sameBook(const ScheduleBook& a, const ScheduleBook& b) {
    return asShown(a.unit) == asShown(b.unit) &&
           std::equal(a.departments.begin(), a.departments.end(), b.departments.begin(),
                      b.departments.end(), [](const auto& x, const auto& y) {
                          return x.first == y.first && asShown(x.second) == asShown(y.second);
                      });
}

} // namespace

frmWorkSchedule::frmWorkSchedule(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmWorkSchedule>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);
    BuildGrid();

    Error error;
    if (!AttendanceStore::LoadSchedules(MainSession::Get(), &m_book, &error))
        MsgBox::ShowMessage(this, tr("读取作息时间失败！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
    m_saved = m_book;
    FillScopes();
    ShowScope(0);

    connect(ui->cobScope, &QComboBox::currentIndexChanged, this,
            &frmWorkSchedule::cobScope_Changed);
    connect(ui->chkFollowUnit, &QCheckBox::toggled, this, &frmWorkSchedule::chkFollowUnit_Toggled);
    connect(ui->cmdSave, &QPushButton::clicked, this, &frmWorkSchedule::cmdSave_Click);
    connect(ui->cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
}

frmWorkSchedule::~frmWorkSchedule() = default;

QString frmWorkSchedule::WeekdayName(int isoWeekday) {
    static const char* const names[] = {
        QT_TR_NOOP("星期一"), QT_TR_NOOP("星期二"), QT_TR_NOOP("星期三"), QT_TR_NOOP("星期四"),
        QT_TR_NOOP("星期五"), QT_TR_NOOP("星期六"), QT_TR_NOOP("星期日")};
    return isoWeekday >= 1 && isoWeekday <= 7 ? tr(names[isoWeekday - 1]) : QString();
}

void frmWorkSchedule::BuildGrid() {
    QTableWidget* grid = ui->tblDays;
    grid->setColumnCount(ColumnCount);
    grid->setRowCount(7);
    grid->setHorizontalHeaderLabels(
        {tr("工作日"), tr("上班时间"), tr("下班时间"), tr("迟到宽限(分钟)"), tr("早退宽限(分钟)")});
    QStringList days;
    for (int d = 1; d <= 7; ++d) {
        days << WeekdayName(d);
        const QString n = QString::number(d);
        auto* working = new QCheckBox; // owned by the grid once placed
        working->setObjectName(QStringLiteral("chkWorking") + n);
        grid->setCellWidget(d - 1, ColWorking, working);
        grid->setCellWidget(d - 1, ColStart, timeEditor(QStringLiteral("tmeStart") + n));
        grid->setCellWidget(d - 1, ColEnd, timeEditor(QStringLiteral("tmeEnd") + n));
        grid->setCellWidget(d - 1, ColLate, graceEditor(QStringLiteral("spnLateGrace") + n));
        grid->setCellWidget(d - 1, ColEarly, graceEditor(QStringLiteral("spnEarlyGrace") + n));
    }
    grid->setVerticalHeaderLabels(days);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void frmWorkSchedule::FillScopes() {
    ui->cobScope->clear();
    ui->cobScope->addItem(tr("全单位"), QString());
    const clsDeptSet depts(MainSession::Get());
    for (const clsDept& d : depts)
        ui->cobScope->addItem(d.DNAME(), d.DNAME());
}

QString frmWorkSchedule::DeptOf(int index) const {
    return ui->cobScope->itemData(index).toString();
}

void frmWorkSchedule::ShowScope(int index) {
    m_shown = index;
    const QString dept = DeptOf(index);
    const bool ownWeek = !dept.isEmpty() && m_book.departments.count(dept) > 0;
    {
        const QSignalBlocker quiet(ui->chkFollowUnit);
        ui->chkFollowUnit->setEnabled(!dept.isEmpty());
        ui->chkFollowUnit->setChecked(!dept.isEmpty() && !ownWeek);
    }
    ShowWeek(ownWeek ? m_book.departments.at(dept) : m_book.unit, dept.isEmpty() || ownWeek);
}

void frmWorkSchedule::ShowWeek(const WorkSchedule& week, bool editable) {
    QTableWidget* grid = ui->tblDays;
    for (int d = 1; d <= 7; ++d) {
        const DaySchedule& day = week.Day(d);
        const int r = d - 1;
        cell<QCheckBox>(grid, r, ColWorking)->setChecked(day.working);
        cell<QTimeEdit>(grid, r, ColStart)->setTime(day.start.isValid() ? day.start : QTime(8, 0));
        cell<QTimeEdit>(grid, r, ColEnd)->setTime(day.end.isValid() ? day.end : QTime(17, 0));
        cell<QSpinBox>(grid, r, ColLate)->setValue(day.lateGrace);
        cell<QSpinBox>(grid, r, ColEarly)->setValue(day.earlyGrace);
        for (int c = 0; c < ColumnCount; ++c)
            grid->cellWidget(r, c)->setEnabled(editable);
    }
}

WorkSchedule frmWorkSchedule::GridWeek() const {
    WorkSchedule week;
    QTableWidget* grid = ui->tblDays;
    for (int d = 1; d <= 7; ++d) {
        DaySchedule& day = week.Day(d);
        const int r = d - 1;
        day.working = cell<QCheckBox>(grid, r, ColWorking)->isChecked();
        day.start = cell<QTimeEdit>(grid, r, ColStart)->time();
        day.end = cell<QTimeEdit>(grid, r, ColEnd)->time();
        day.lateGrace = cell<QSpinBox>(grid, r, ColLate)->value();
        day.earlyGrace = cell<QSpinBox>(grid, r, ColEarly)->value();
    }
    return week;
}

void frmWorkSchedule::KeepGrid() {
    const QString dept = DeptOf(m_shown);
    if (dept.isEmpty())
        m_book.unit = GridWeek();
    else if (m_book.departments.count(dept) > 0)
        m_book.departments[dept] = GridWeek();
}

void frmWorkSchedule::cobScope_Changed(int index) {
    KeepGrid();
    ShowScope(index);
}

void frmWorkSchedule::chkFollowUnit_Toggled(bool on) {
    const QString dept = DeptOf(m_shown);
    if (dept.isEmpty())
        return;
    if (on)
        m_book.departments.erase(dept);
    else
        m_book.departments[dept] = m_book.unit; // a week of its own, starting from the unit's
    ShowScope(m_shown);
}

bool frmWorkSchedule::CheckWeek(const QString& scope, int scopeIndex, const WorkSchedule& week) {
    for (int d = 1; d <= 7; ++d) {
        const DaySchedule& day = week.Day(d);
        // The check of schedule-import: a rest day's times are not checked.
        const DaySchedule::Fault check = day.Check();
        if (check == DaySchedule::Fault::None)
            continue;
        const bool grace =
            check == DaySchedule::Fault::LateGrace || check == DaySchedule::Fault::EarlyGrace;
        const QString fault = grace ? tr("宽限时间应在0到%1分钟之间！").arg(kMaxGrace)
                                    : tr("下班时间必须晚于上班时间！");
        const int column = check == DaySchedule::Fault::LateGrace    ? ColLate
                           : check == DaySchedule::Fault::EarlyGrace ? ColEarly
                                                                     : ColEnd;
        if (scopeIndex >= 0) {
            ui->cobScope->setCurrentIndex(scopeIndex);
            ui->tblDays->cellWidget(d - 1, column)->setFocus();
        }
        MsgBox::ShowMessage(this, tr("%1 %2：%3").arg(scope, WeekdayName(d), fault), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return false;
    }
    return true;
}

bool frmWorkSchedule::CheckBook() {
    if (!CheckWeek(ui->cobScope->itemText(0), 0, m_book.unit))
        return false;
    // A department removed since keeps its week (and has no entry to show).
    for (const auto& [dept, week] : m_book.departments)
        if (!CheckWeek(dept, ui->cobScope->findData(dept), week))
            return false;
    return true;
}

bool frmWorkSchedule::HasEdits() {
    KeepGrid();
    return !sameBook(m_book, m_saved);
}

void frmWorkSchedule::reject() {
    // Escape, 退出 and the close box all come here.
    if (HasEdits() &&
        MsgBox::ShowMessage(this, tr("作息时间的修改尚未保存，放弃这些修改吗？"), tr("询问"),
                            MsgBox::Icon::Question, MsgBox::Buttons::YesNo) != MsgBox::Result::Yes)
        return;
    QDialog::reject();
}

void frmWorkSchedule::cmdSave_Click() {
    KeepGrid();
    if (!CheckBook())
        return;
    Error error;
    if (!AttendanceStore::ReplaceSchedules(MainSession::Get(), m_book, &error)) {
        MsgBox::ShowMessage(this, tr("保存作息时间失败！\n%1").arg(error.Text()), tr("错误"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    m_saved = m_book;
    MsgBox::ShowMessage(this, tr("作息时间已保存！"), tr("信息"), MsgBox::Icon::Information);
}
