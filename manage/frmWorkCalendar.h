#pragma once

#include "shared/attendance/WorkCalendar.h"

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class frmWorkCalendar;
}

// Edits one year of the working calendar: holidays, working days moved
// onto a weekend and extra rest days, each with a name. A range of dates
// adds one entry a date; saving replaces that year's dates in the database.
// Importing a file stores the years it names at once (no other year is
// touched) and shows the year on show, or else the file's first year.
// Edits not saved are given up only when the user agrees: on changing the
// year, on importing and on closing.
class frmWorkCalendar : public QDialog {
    Q_OBJECT

public:
    explicit frmWorkCalendar(QWidget* parent = nullptr);
    ~frmWorkCalendar() override;

    int Year() const { return m_year; }
    const WorkCalendar& Calendar() const { return m_calendar; }

public slots:
    void reject() override;

private slots:
    void cobYear_Changed(int index);
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdSave_Click();
    void cmdImport_Click();
    void cmdExport_Click();

private:
    void LoadYear(int year);
    // Puts `year` into the year list, in order, unless it is there.
    void AddYear(int year);
    // Shows `year` (added to the year list if missing), loaded from the database.
    void ShowYear(int year);
    // True without edits not saved, else when the user agrees to give them up.
    bool MayDropEdits();
    void ShowDates();
    bool InYear(const QDate& date) const { return date.year() == m_year; }

    std::unique_ptr<Ui::frmWorkCalendar> ui;
    WorkCalendar m_calendar;
    int m_year = 0;
    bool m_changed = false; // edits not saved yet
};
