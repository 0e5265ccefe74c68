#include "manage/frmMain.h"
#include "ui_frmMain.h"

#include "manage/CardPrinting.h"
#include "manage/frimEmpImport.h"
#include "manage/frmAttendanceSummary.h"
#include "manage/frmCorrection.h"
#include "manage/frmDeptAppend.h"
#include "manage/frmDeptEdit.h"
#include "manage/frmMissingDeparture.h"
#include "manage/frmNotArrived.h"
#include "manage/frmWorkCalendar.h"
#include "manage/frmWorkSchedule.h"
#include "manage/mdMain.h"
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "platform/frmAbout.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsDeptSet.h"
#include "shared/records/clsEmployeeSet.h"

#include <QHeaderView>
#include <exception>

namespace {

const QString kKeyPrefix = QStringLiteral("KEYPRE");
// The file dialogs' filter of exchange files.
QString xmlFilter() {
    return frmMain::tr("XML文件 (*.xml *.XML)");
}

struct Column {
    const char* caption;
    int width; // pixels: 800, 1000 and 2000 twips at 15 twips a pixel
};
constexpr Column kEmpColumns[] = {{QT_TRANSLATE_NOOP("frmMain", "员工号"), 53},
                                  {QT_TRANSLATE_NOOP("frmMain", "姓名"), 67},
                                  {QT_TRANSLATE_NOOP("frmMain", "所属部门"), 133},
                                  {QT_TRANSLATE_NOOP("frmMain", "签到条码"), 133}};
constexpr Column kDeptColumns[] = {{QT_TRANSLATE_NOOP("frmMain", "部门号"), 53},
                                   {QT_TRANSLATE_NOOP("frmMain", "部门名称"), 133}};

template <size_t N> void setColumns(QTreeWidget* list, const Column (&columns)[N]) {
    QStringList captions;
    for (const Column& c : columns)
        captions << frmMain::tr(c.caption);
    list->setColumnCount(int(N));
    list->setHeaderLabels(captions);
    for (size_t i = 0; i < N; ++i)
        list->setColumnWidth(int(i), columns[i].width);
}

QTreeWidgetItem* makeRow(const QString& key, const QStringList& texts) {
    auto* row = new QTreeWidgetItem(texts); // owned by the list once added
    row->setData(0, Qt::UserRole, frmMain::MakeItemKey(key));
    return row;
}

// Opens an attendance window modally; it loads its own content.
template <typename Dialog> void openDialog(QWidget* parent) {
    Dialog dialog(parent);
    dialog.exec();
}

// The record key of a row: its row key without "KEYPRE".
QString keyOf(const QTreeWidgetItem* row) {
    return row->data(0, Qt::UserRole).toString().mid(kKeyPrefix.size());
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    setWindowTitle(mdMain::ProgramTitle());

    // Separator lines carry their menu names too.
    const std::pair<QMenu*, QStringList> splits[] = {
        {ui->mnuSys, {"mnuSplit1_1"}},
        {ui->menDeptMange, {"mnuSplit2", "mnuSplit3"}},
        {ui->Opt, {"mnuSplit1", "mnuSplit4"}},
        {ui->mnuPopMenu, {"mnuSplit5"}},
        {ui->mnuAttendance, {"mnuSplit6", "mnuSplit7"}}};
    for (const auto& [menu, names] : splits) {
        int n = 0;
        for (QAction* action : menu->actions())
            if (action->isSeparator())
                action->setObjectName(names.value(n++));
    }

    QHeaderView* header = list()->header();
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    connect(list(), &QWidget::customContextMenuRequested, this, &frmMain::lsvData_MouseDown);

    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    frmCorrection::AddMenu(menuBar(), this); // "考勤": corrections, closing months
    connect(ui->mnuCardInfoSet, &QAction::triggered, this, &frmMain::mnuCardInfoSet_Click);
    connect(ui->mnuDeptDsp, &QAction::triggered, this, &frmMain::mnuDeptDsp_Click);
    connect(ui->mnuDeptAppend, &QAction::triggered, this, &frmMain::mnuDeptAppend_Click);
    connect(ui->mnuDeptRemove, &QAction::triggered, this, &frmMain::RemoveSelectedDepts);
    connect(ui->mnuDeptEdit, &QAction::triggered, this, &frmMain::mnuDeptEdit_Click);
    connect(ui->mnuDeptExport, &QAction::triggered, this, &frmMain::mnuDeptExport_Click);
    connect(ui->mnuEmpDsp, &QAction::triggered, this, &frmMain::mnuEmpDsp_Click);
    connect(ui->mnuEmpImport, &QAction::triggered, this, &frmMain::mnuEmpImport_Click);
    connect(ui->mnuEmpRemove, &QAction::triggered, this, &frmMain::RemoveSelectedEmployees);
    connect(ui->mnuEmpExport, &QAction::triggered, this, &frmMain::mnuEmpExport_Click);
    connect(ui->mnuEmpPrint, &QAction::triggered, this, &frmMain::mnuEmpPrint_Click);
    connect(ui->mnuAttSummary, &QAction::triggered, this,
            [this] { openDialog<frmAttendanceSummary>(this); });
    connect(ui->mnuNotArrived, &QAction::triggered, this,
            [this] { openDialog<frmNotArrived>(this); });
    connect(ui->mnuMissingDeparture, &QAction::triggered, this,
            [this] { openDialog<frmMissingDeparture>(this); });
    connect(ui->mnuWorkSchedule, &QAction::triggered, this,
            [this] { openDialog<frmWorkSchedule>(this); });
    connect(ui->mnuWorkCalendar, &QAction::triggered, this,
            [this] { openDialog<frmWorkCalendar>(this); });
    connect(ui->mnuHelpFile, &QAction::triggered, this, &frmMain::mnuHelpFile_Click);
    connect(ui->mnuVistHomePage, &QAction::triggered, this, &frmMain::mnuVistHomePage_Click);
    connect(ui->mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
    connect(ui->mnuPop_Append, &QAction::triggered, this, &frmMain::mnuPop_Append_Click);
    connect(ui->mnuPop_Remove, &QAction::triggered, this, &frmMain::mnuPop_Remove_Click);
    connect(ui->mnuPop_Edit, &QAction::triggered, this, &frmMain::mnuPop_Edit_Click);
    connect(ui->mnuPop_Export, &QAction::triggered, this, &frmMain::mnuPop_Export_Click);

    mnuEmpDsp_Click();
}

frmMain::~frmMain() = default;

QTreeWidget* frmMain::list() const {
    return ui->lsvData;
}

QString frmMain::MakeItemKey(const QString& key) {
    return kKeyPrefix + key;
}

int frmMain::GetListMode() const {
    if (ui->mnuEmpDsp->isChecked())
        return 1;
    if (ui->mnuDeptDsp->isChecked())
        return 2;
    return 0;
}

void frmMain::ClearList() {
    list()->clear();
    list()->setColumnCount(0);
}

void frmMain::EnableDeptMenus(bool on) {
    for (QAction* a : {ui->mnuDeptAppend, ui->mnuDeptRemove, ui->mnuDeptEdit, ui->mnuDeptExport})
        a->setEnabled(on);
}

void frmMain::EnableEmpMenus(bool on) {
    for (QAction* a : {ui->mnuEmpImport, ui->mnuEmpExport, ui->mnuEmpPrint, ui->mnuEmpRemove})
        a->setEnabled(on);
}

void frmMain::UpdateMenus() {
    switch (GetListMode()) {
    case 1:
        EnableDeptMenus(false);
        EnableEmpMenus(true);
        break;
    case 2:
        EnableDeptMenus(true);
        EnableEmpMenus(false);
        break;
    default:
        break;
    }
}

void frmMain::SetEmpColumns() {
    ClearList();
    setColumns(list(), kEmpColumns);
}

void frmMain::SetDeptColumns() {
    ClearList();
    setColumns(list(), kDeptColumns);
}

void frmMain::LoadEmpList() {
    SetEmpColumns();
    clsEmployeeSet employees(MainSession::Get());
    if (!employees.LoadSet()) {
        MsgBox::ShowMessage(this, tr("读取员工信息失败！"), tr("错误"), MsgBox::Icon::Exclamation);
        return;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(employees.Count());
    for (const clsEmployee& e : employees)
        rows << makeRow(e.ENUMBER(), {e.ENUMBER(), e.ENAME(), e.DNAME(), e.EBARCODE()});
    list()->addTopLevelItems(rows);
}

void frmMain::LoadDeptList() {
    SetDeptColumns();
    const clsDeptSet depts(MainSession::Get());
    QList<QTreeWidgetItem*> rows;
    rows.reserve(depts.Count());
    for (const clsDept& d : depts) {
        const QString id = QString::number(d.ID());
        rows << makeRow(id, {id, d.DNAME()});
    }
    list()->addTopLevelItems(rows);
}

void frmMain::mnuEmpDsp_Click() {
    ui->mnuEmpDsp->setChecked(true);
    ui->mnuDeptDsp->setChecked(false);
    LoadEmpList();
    UpdateMenus();
}

void frmMain::mnuDeptDsp_Click() {
    ui->mnuDeptDsp->setChecked(true);
    ui->mnuEmpDsp->setChecked(false);
    LoadDeptList();
    UpdateMenus();
}

QStringList frmMain::SelectedKeys() const {
    QStringList keys;
    for (int i = list()->topLevelItemCount() - 1; i >= 0; --i) {
        const QTreeWidgetItem* row = list()->topLevelItem(i);
        if (row->isSelected())
            keys << keyOf(row);
    }
    return keys;
}

void frmMain::RemoveSelectedEmployees() {
    // From the last row up: removing a row leaves the rows above in place.
    for (int i = list()->topLevelItemCount() - 1; i >= 0; --i) {
        const QTreeWidgetItem* row = list()->topLevelItem(i);
        if (!row->isSelected())
            continue;
        const QString number = keyOf(row);
        if (MsgBox::ShowMessage(this, tr("删除编号为[%1]的员工？").arg(number), tr("询问"),
                                MsgBox::Icon::Question,
                                MsgBox::Buttons::YesNo) != MsgBox::Result::Yes)
            continue;
        if (clsEmployee(MainSession::Get()).Remove(number))
            delete list()->takeTopLevelItem(i);
        else
            MsgBox::ShowMessage(this, tr("未能删除编号为[%1]的员工！").arg(number), tr("错误"),
                                MsgBox::Icon::Exclamation);
    }
}

void frmMain::RemoveSelectedDepts() {
    const auto hasEmployees = [this](const QString& named) {
        MsgBox::ShowMessage(this,
                            tr("%1下还有员工，\r\n请删除相关员工或将员工转移到"
                               "其它部门后再删除本部门！")
                                .arg(named),
                            tr("信息"), MsgBox::Icon::Exclamation);
    };
    clsDept dept(MainSession::Get());
    for (int i = list()->topLevelItemCount() - 1; i >= 0; --i) {
        const QTreeWidgetItem* row = list()->topLevelItem(i);
        if (!row->isSelected())
            continue;
        const QString key = keyOf(row);
        dept.setID(static_cast<qint16>(key.toShort()));
        const QString named = tr("编号为[%1]名称为[%2]的部门").arg(dept.ID()).arg(dept.DNAME());
        if (dept.EMPLOYEENUM() > 0) {
            hasEmployees(named);
            continue;
        }
        if (dept.EMPLOYEENUM() < 0) {
            MsgBox::ShowMessage(this, tr("数据库操作错误！"), tr("错误"),
                                MsgBox::Icon::Exclamation);
            continue;
        }
        if (MsgBox::ShowMessage(this, tr("删除%1？").arg(named), tr("询问"), MsgBox::Icon::Question,
                                MsgBox::Buttons::YesNo) != MsgBox::Result::Yes)
            continue;
        // The record decides again, in the transaction that removes it: an
        // employee may have been added meanwhile by another program.
        switch (clsDept::RemoveEmpty(MainSession::Get(), dept.ID())) {
        case clsDept::RemoveResult::Removed:
            delete list()->takeTopLevelItem(i);
            break;
        case clsDept::RemoveResult::HasEmployees:
            hasEmployees(named);
            break;
        default:
            MsgBox::ShowMessage(this, tr("未能删除%1！").arg(named), tr("错误"),
                                MsgBox::Icon::Exclamation);
        }
    }
}

void frmMain::mnuDeptAppend_Click() {
    frmDeptAppend dialog(this);
    dialog.exec();
    if (dialog.Appended())
        LoadDeptList();
}

void frmMain::mnuDeptEdit_Click() {
    bool changed = false;
    for (const QString& key : SelectedKeys()) {
        frmDeptEdit dialog(this);
        dialog.setDeptID(key);
        dialog.exec();
        changed = dialog.Changed() || changed;
    }
    if (changed)
        LoadDeptList();
}

bool frmMain::ExportEmployees(const QString& path) {
    const QStringList numbers = SelectedKeys();
    // No row chosen: nothing to export (an empty list would mean every employee).
    if (numbers.isEmpty())
        return false;
    return ExchangeFiles::ExportEmployees(MainSession::Get(), path, numbers,
                                          ExchangeFiles::Existing::Replace);
}

bool frmMain::ExportDepts(const QString& path) {
    return ExchangeFiles::ExportDepartments(MainSession::Get(), path,
                                            ExchangeFiles::Existing::Replace);
}

void frmMain::mnuEmpExport_Click() {
    const QString proposed =
        tr("员工信息_%1.xml").arg(ChineseUi::ShortDate(AppClock::now().date()));
    const QString path = FileDialog::SaveFile(this, QString(), xmlFilter(), proposed).trimmed();
    if (path.isEmpty())
        return;
    // An existing file is replaced only by a complete new one.
    DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Export,
                            [&] { return ExportEmployees(path); });
}

void frmMain::mnuDeptExport_Click() {
    const QString path =
        FileDialog::SaveFile(this, QString(), xmlFilter(), tr("部门信息.xml")).trimmed();
    if (path.isEmpty())
        return;
    DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Export,
                            [&] { return ExportDepts(path); });
}

void frmMain::mnuEmpImport_Click() {
    const QStringList files = FileDialog::OpenFiles(this, QString(), xmlFilter());
    if (files.isEmpty())
        return;
    {
        frimEmpImport dialog(this);
        dialog.SetFileList(files);
        dialog.exec();
    }
    mnuEmpDsp_Click();
}

void frmMain::mnuEmpPrint_Click() {
    CardPrinting::Print(this, SelectedKeys());
}

void frmMain::mnuCardInfoSet_Click() {
    CardPrinting::Design(this);
}

void frmMain::mnuHelpFile_Click() {
    mdMain::OpenDocument(mdMain::HelpFile());
}

void frmMain::mnuVistHomePage_Click() {
    mdMain::OpenDocument(mdMain::HomePage());
}

void frmMain::mnuAbout_Click() {
    // The office program's About window carries the station's caption.
    frmAbout about({tr("关于 签到系统"), mdMain::ProgramTitle(), mdMain::VersionMajor,
                    mdMain::VersionMinor, mdMain::VersionRevision, mdMain::HomePage()},
                   this);
    about.exec();
}

void frmMain::lsvData_MouseDown(const QPoint& pos) {
    ui->mnuPopMenu->popup(list()->viewport()->mapToGlobal(pos));
}

void frmMain::mnuPop_Append_Click() {
    if (GetListMode() == 1)
        mnuEmpImport_Click();
    else if (GetListMode() == 2)
        mnuDeptAppend_Click();
}

void frmMain::mnuPop_Remove_Click() {
    if (GetListMode() == 1)
        RemoveSelectedEmployees();
    else if (GetListMode() == 2)
        RemoveSelectedDepts();
}

void frmMain::mnuPop_Edit_Click() {
    if (GetListMode() == 1)
        MsgBox::ShowMessage(this, tr("本功能将在后继版本中实现！"), tr("提醒"),
                            MsgBox::Icon::Information);
    else if (GetListMode() == 2)
        mnuDeptEdit_Click();
}

void frmMain::mnuPop_Export_Click() {
    if (GetListMode() == 1)
        mnuEmpExport_Click();
    else if (GetListMode() == 2)
        mnuDeptExport_Click();
}
