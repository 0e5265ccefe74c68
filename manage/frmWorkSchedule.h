#pragma once

#include "shared/attendance/WorkSchedule.h"

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class frmWorkSchedule;
}

// Edits the working hours: the unit's week and, for a department, either
// "the unit's" or a week of its own. One grid row a weekday (working day,
// start, end, grace minutes for late arrival and early departure); saving
// checks every week of the book and replaces the whole book. Closing with
// edits not saved asks before giving them up.
class frmWorkSchedule : public QDialog {
    Q_OBJECT

public:
    explicit frmWorkSchedule(QWidget* parent = nullptr);
    ~frmWorkSchedule() override;

    // The book as edited so far (the grid on show included once kept).
    const ScheduleBook& Book() const { return m_book; }
    // "星期一" ... "星期日" for 1 ... 7.
    static QString WeekdayName(int isoWeekday);

public slots:
    void reject() override;

private slots:
    void cobScope_Changed(int index);
    void chkFollowUnit_Toggled(bool on);
    void cmdSave_Click();

private:
    void BuildGrid();
    void FillScopes();
    // The department of a scope entry; empty for the unit.
    QString DeptOf(int index) const;
    void ShowScope(int index);
    void ShowWeek(const WorkSchedule& week, bool editable);
    WorkSchedule GridWeek() const;
    // Puts the grid into the book for the scope on show.
    void KeepGrid();
    // The first fault of the book, shown with its scope and weekday; false then.
    bool CheckBook();
    // `scopeIndex`: the entry to show with the fault, -1 for none.
    bool CheckWeek(const QString& scope, int scopeIndex, const WorkSchedule& week);
    // Whether the book (the grid on show kept first) differs from the one stored.
    bool HasEdits();

    std::unique_ptr<Ui::frmWorkSchedule> ui;
    ScheduleBook m_book;
    ScheduleBook m_saved; // as read or last saved
    int m_shown = -1;     // the scope entry the grid shows
};
