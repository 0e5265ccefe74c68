#pragma once

#include "shared/records/clsCorrection.h"

#include <QDialog>
#include <memory>
#include <vector>

class QMenuBar;

namespace Ui {
class frmCorrection;
}

// "考勤修正": one employee's records over a range of days, or a department's
// employees on one day; adds a missing arrival or departure ("补签"), changes
// the times ("修改") or removes the day's record ("删除"), each with a
// reason, asked once the entry passed the checks; a correction is confirmed
// in the status bar, its day stays selected and the list marks corrected
// days (补 added, 改 changed or removed). Also closes months ("月结…", asked
// first) and reopens them ("取消月结…").
class frmCorrection : public QDialog {
    Q_OBJECT

public:
    explicit frmCorrection(QWidget* parent = nullptr);
    ~frmCorrection() override;

    // Adds the attendance menu's entries to `bar` (its menu mnuAttendance
    // when it has one, else a new one before the menu mnuHelp).
    static void AddMenu(QMenuBar* bar, QWidget* parent);
    // The month's closing and reopening, asked of the user.
    static void CloseMonth(QWidget* parent);
    static void ReopenMonth(QWidget* parent);

    // The message of a refused correction or month's closing (`day` names the month).
    static QString ResultText(clsCorrection::Result result, const QDate& day);

private:
    void loadDays();
    void apply(clsCorrection::Action action);

    std::unique_ptr<Ui::frmCorrection> ui;
    std::vector<clsCorrection::Day> m_days;
};
