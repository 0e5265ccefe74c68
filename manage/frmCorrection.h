#pragma once

#include "shared/records/clsCorrection.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QMenuBar;
class QRadioButton;
class QTimeEdit;
class QTreeWidget;

// "考勤修正": one employee's records over a range of days, or a department's
// employees on one day; adds a missing arrival or departure ("补签"), changes
// the times ("修改") or removes the day's record ("删除"), each with a
// reason. Also closes and reopens months ("月结…", "取消月结…").
class frmCorrection : public QDialog {
    Q_OBJECT

public:
    explicit frmCorrection(QWidget* parent = nullptr);

    // Adds the attendance menu's entries to `bar` (the menu "考勤" when the
    // bar has one, else a new one before the help menu).
    static void AddMenu(QMenuBar* bar, QWidget* parent);
    // The month's closing and reopening, asked of the user.
    static void CloseMonth(QWidget* parent);
    static void ReopenMonth(QWidget* parent);

    // The message of a refused correction or month's closing (`day` names the month).
    static QString ResultText(clsCorrection::Result result, const QDate& day);

private:
    void buildControls();
    void loadDays();
    void apply(clsCorrection::Action action);

    QRadioButton* m_byEmployee = nullptr;
    QRadioButton* m_byDept = nullptr;
    QLineEdit* m_number = nullptr;
    QComboBox* m_dept = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QTreeWidget* m_list = nullptr;
    QCheckBox* m_useArrival = nullptr;
    QCheckBox* m_useDeparture = nullptr;
    QTimeEdit* m_arrival = nullptr;
    QTimeEdit* m_departure = nullptr;
    std::vector<clsCorrection::Day> m_days;
};
