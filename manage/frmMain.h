#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QTreeWidget;

namespace Ui {
class frmMain;
}

// The office program's main window: the employee or the department list,
// and the menus that add, rename, remove, export, import and print.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // 1 employee list, 2 department list, 0 none (before the first list).
    int GetListMode() const;

    // "KEYPRE" + key: the row key the list keeps for every row.
    static QString MakeItemKey(const QString& key);

private slots:
    void mnuEmpDsp_Click();
    void mnuDeptDsp_Click();
    void mnuDeptAppend_Click();
    void mnuDeptEdit_Click();
    void mnuDeptExport_Click();
    void mnuEmpImport_Click();
    void mnuEmpExport_Click();
    void mnuEmpPrint_Click();
    void mnuCardInfoSet_Click();
    void mnuHelpFile_Click();
    void mnuVistHomePage_Click();
    void mnuAbout_Click();
    void mnuPop_Append_Click();
    void mnuPop_Remove_Click();
    void mnuPop_Edit_Click();
    void mnuPop_Export_Click();
    void lsvData_MouseDown(const QPoint& pos);

private:
    QTreeWidget* list() const;
    void ClearList();
    void UpdateMenus();
    void EnableDeptMenus(bool on);
    void EnableEmpMenus(bool on);
    void SetEmpColumns();
    void SetDeptColumns();
    void LoadEmpList();
    void LoadDeptList();
    // The record keys of the selected rows, from the last row to the first.
    QStringList SelectedKeys() const;
    bool ExportEmployees(const QString& path);
    bool ExportDepts(const QString& path);
    void RemoveSelectedEmployees();
    void RemoveSelectedDepts();

    std::unique_ptr<Ui::frmMain> ui;
};
