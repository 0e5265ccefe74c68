#include "signdesk/frimImportExport.h"
#include "ui_frimImportExport.h"

#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsEmployeeSet.h"

#include <QListWidgetItem>

namespace {
// Each list line keeps the employee's number beside its text, so numbers with
// blanks or quotes are exported as they are.
constexpr int NumberRole = Qt::UserRole;
} // namespace

frimImportExport::frimImportExport(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frimImportExport>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::CloseBox);

    connect(ui->btnBrow, &QPushButton::clicked, this, &frimImportExport::btnBrow_Click);
    connect(ui->btnOp, &QPushButton::clicked, this, &frimImportExport::btnOp_Click);
    connect(ui->btnClose, &QPushButton::clicked, this, &frimImportExport::reject);
}

frimImportExport::~frimImportExport() = default;

void frimImportExport::setImportMode(bool import) {
    m_import = import;
    applyMode();
}

void frimImportExport::showEvent(QShowEvent* event) {
    if (!m_loaded)
        applyMode();
    QDialog::showEvent(event);
}

void frimImportExport::applyMode() {
    m_loaded = true;
    if (m_import) {
        ui->btnOp->setText(tr("导入"));
        ui->lstEmployeeList->clear();
        ui->lstEmployeeList->setEnabled(false);
    } else {
        ui->btnOp->setText(tr("导出"));
        ui->lstEmployeeList->setEnabled(true);
        FillList();
    }
}

void frimImportExport::FillList() {
    QListWidget* list = ui->lstEmployeeList;
    list->clear();
    clsEmployeeSet employees(MainSession::Get());
    // On failure the list stays empty; an export then stops at its first message.
    if (!employees.LoadSet())
        return;
    list->setUpdatesEnabled(false);
    for (const clsEmployee& e : employees) {
        auto* item = new QListWidgetItem(e.ENUMBER() + QLatin1Char(' ') + e.ENAME(), list);
        item->setData(NumberRole, e.ENUMBER());
    }
    list->setUpdatesEnabled(true);
}

QStringList frimImportExport::MarkedNumbers() const {
    QStringList numbers;
    const QListWidget* list = ui->lstEmployeeList;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        if (item->isSelected())
            numbers << item->data(NumberRole).toString();
    }
    return numbers;
}

void frimImportExport::btnBrow_Click() {
    // A save dialog in both modes, without the overwrite question: an export
    // never replaces a file, an import only reads it.
    const QString chosen = FileDialog::SaveFile(this, QString(), tr("XML文件 (*.xml)"), m_lastFile);
    if (chosen.isEmpty())
        return; // cancelled: the path typed so far stays
    m_lastFile = chosen;
    ui->txtFile->setText(chosen);
}

void frimImportExport::btnOp_Click() {
    if (m_import)
        Import();
    else
        Export();
}

void frimImportExport::Export() {
    const QStringList numbers = MarkedNumbers();
    if (numbers.isEmpty()) {
        MsgBox::ShowMessage(this, tr("至少要选择一个需要导出的员工才能执行导出操作！"), tr("警告"),
                            MsgBox::Icon::Exclamation);
        return;
    }
    const QString path = ui->txtFile->text().trimmed();
    if (path.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请设定导出文件名！"), tr("警告"), MsgBox::Icon::Exclamation);
        return;
    }
    DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Export, [&] {
        return ExchangeFiles::ExportEmployees(MainSession::Get(), path, numbers,
                                              ExchangeFiles::Existing::Refuse);
    });
}

void frimImportExport::Import() {
    const QString path = ui->txtFile->text().trimmed();
    if (path.isEmpty()) {
        MsgBox::ShowMessage(this, tr("请选择导入文件！"), tr("警告"), MsgBox::Icon::Exclamation);
        return;
    }
    // One transaction: a file that fails part-way leaves the database as it was.
    DesktopKit::RunExchange(this, MainSession::Get(), DesktopKit::Exchange::Import, [&] {
        return ExchangeFiles::ImportEmployees(MainSession::Get(), path);
    });
}
