#include "manage/frimEmpImport.h"
#include "ui_frimEmpImport.h"

#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsDept.h"
#include "shared/records/clsDeptSet.h"
#include "shared/records/clsEmployee.h"
#include "shared/rowset/RowSetXml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QSaveFile>

frimEmpImport::frimEmpImport(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frimEmpImport>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);
    connect(ui->btnSave, &QPushButton::clicked, this, &frimEmpImport::btnSave_Click);
    connect(ui->btnNext, &QPushButton::clicked, this, &frimEmpImport::btnNext_Click);

    // The photo goes into the program directory; where that cannot be
    // written, into a private temporary folder of this window.
    const QString programDir = ProgramDirectory();
    if (QFileInfo(programDir).isWritable()) {
        m_photoPath = JoinPath(programDir, QStringLiteral("temp.jpg"));
    } else {
        m_tempDir = std::make_unique<QTemporaryDir>();
        if (m_tempDir->isValid())
            m_photoPath = m_tempDir->filePath(QStringLiteral("temp.jpg"));
    }
}

frimEmpImport::~frimEmpImport() {
    RemovePhoto();
}

void frimEmpImport::SetFileList(const QStringList& files) {
    m_files = files;
}

void frimEmpImport::showEvent(QShowEvent* event) {
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    QDialog::showEvent(event);
}

void frimEmpImport::done(int result) {
    RemovePhoto();
    QDialog::done(result);
}

void frimEmpImport::Form_Load() {
    InitProgress();
    LoadDepartments();
    NextFile();
}

void frimEmpImport::InitProgress() {
    m_position = 0;
    m_total = int(qMin<qsizetype>(m_files.size(), 32767));
    ui->pbWorking->setRange(0, qMax(m_total, 1));
    ui->pbWorking->setValue(0);
    ui->lblProcess->setText(QStringLiteral("%1/%2").arg(m_position).arg(m_total));
}

void frimEmpImport::LoadDepartments() {
    const clsDeptSet depts(MainSession::Get());
    for (const clsDept& d : depts)
        ui->cbDept->addItem(d.DNAME());
    ui->cbDept->setCurrentIndex(-1);
}

frimEmpImport::FileResult frimEmpImport::NextFile() {
    if (m_position >= m_total)
        return FileResult::NoMoreFiles;
    const FileResult result = LoadEmployeeFile(m_files.at(m_position));
    ++m_position;
    ui->pbWorking->setValue(m_position);
    ui->lblProcess->setText(QStringLiteral("%1/%2").arg(m_position).arg(m_total));
    UpdateNextButton();
    ui->btnSave->setEnabled(result == FileResult::Loaded);
    return result;
}

namespace {

// Why a file cannot be taken as a new employee (empty when it can), and the
// result of LoadEmployeeFile for it.
struct Refusal {
    QString why;
    frimEmpImport::FileResult result = frimEmpImport::FileResult::Loaded;
};

Refusal examine(const QString& path, ExchangeFiles::NewEmployee* employee) {
    using enum frimEmpImport::FileResult;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {frimEmpImport::tr("文件不存在。"), Missing};
    RowSet rs;
    if (!RowSetXml::Load(path, &rs))
        return {frimEmpImport::tr("文件已损坏，或不是员工信息文件。"), Unreadable};
    if (rs.rows.isEmpty())
        return {frimEmpImport::tr("文件中没有员工信息。"), Empty};
    // An exported employee file: taking it would store the person twice.
    for (const char* column : {"ENUMBER", "EBARCODE"})
        if (!rs.value(0, QLatin1String(column)).toString().trimmed().isEmpty())
            return {frimEmpImport::tr("这是导出的员工信息文件，其中的员工已有编号和条码。"),
                    Unreadable};
    if (!ExchangeFiles::ReadNewEmployee(path, employee))
        return {frimEmpImport::tr("文件不是新员工信息文件。"), Unreadable};
    return {};
}

} // namespace

frimEmpImport::FileResult frimEmpImport::LoadEmployeeFile(const QString& path) {
    ExchangeFiles::NewEmployee employee;
    const Refusal refusal = examine(path, &employee);
    if (!refusal.why.isEmpty()) {
        // Nothing of the previous file stays on screen to be saved by mistake.
        ui->txtName->clear();
        ui->cbDept->setCurrentIndex(-1);
        ui->txtInputDate->clear();
        ui->txtEmpNum->clear();
        ui->imgHeader->clear();
        m_photo.clear();
        RemovePhoto();
        warn(tr("不能导入文件“%1”：\n%2").arg(QDir::toNativeSeparators(path), refusal.why));
        return refusal.result;
    }
    ui->txtName->setText(employee.ENAME);
    SelectDepartment(employee.DID);
    const QDateTime date = employee.ENTERDATE;
    ui->txtInputDate->setText(date.time() == QTime(0, 0) ? ChineseUi::ShortDate(date.date())
                                                         : ChineseUi::GeneralDateTime(date));
    m_photo = employee.HEADIMG;
    WritePhoto();
    // The photo keeps its shape, centred in the box.
    QPixmap picture;
    picture.loadFromData(m_photo);
    if (!picture.isNull())
        picture = picture.scaled(ui->imgHeader->contentsRect().size(), Qt::KeepAspectRatio,
                                 Qt::SmoothTransformation);
    ui->imgHeader->setPixmap(picture);
    ui->txtEmpNum->clear();
    return FileResult::Loaded;
}

bool frimEmpImport::WritePhoto() {
    if (m_photoPath.isEmpty())
        return false;
    QSaveFile file(m_photoPath);
    return file.open(QIODevice::WriteOnly) && file.write(m_photo) == m_photo.size() &&
           file.commit();
}

void frimEmpImport::RemovePhoto() {
    if (!m_photoPath.isEmpty() && QFileInfo(m_photoPath).isFile())
        QFile::remove(m_photoPath);
}

void frimEmpImport::SelectDepartment(qint16 did) {
    clsDept dept(MainSession::Get());
    dept.setID(did);
    if (dept.DNAME().isEmpty())
        return;
    const int index = ui->cbDept->findText(dept.DNAME());
    if (index >= 0)
        ui->cbDept->setCurrentIndex(index);
}

qint16 frimEmpImport::GetDeptID() const {
    clsDept dept(MainSession::Get());
    dept.setDNAME(ui->cbDept->currentText().trimmed());
    return dept.ID() >= 1 ? dept.ID() : qint16(-1);
}

void frimEmpImport::UpdateNextButton() {
    ui->btnNext->setEnabled(m_position < m_total);
}

std::optional<QDateTime> frimEmpImport::ParseEntryDate(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('.'), QLatin1Char('-'));
    for (const char* format : {"yyyy-M-d", "yyyy-M-d H:mm:ss", "yyyy-M-d H:mm"}) {
        const QDateTime d = QDateTime::fromString(t, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

void frimEmpImport::warn(const QString& text) {
    MsgBox::ShowMessage(this, text, tr("警告"), MsgBox::Icon::Exclamation);
}

bool frimEmpImport::CheckInput() {
    if (ui->txtName->text().trimmed().isEmpty()) {
        warn(tr("请输入员工姓名！"));
        return false;
    }
    if (ui->txtInputDate->text().trimmed().isEmpty()) {
        warn(tr("请输入员工信息录入日期！"));
        return false;
    }
    if (!ParseEntryDate(ui->txtInputDate->text())) {
        warn(tr("录入日期不正确，请输入正确的日期！"));
        return false;
    }
    if (m_photoPath.isEmpty() || !QFileInfo(m_photoPath).isFile()) {
        warn(tr("员工头像不存在！"));
        return false;
    }
    const QString number = ui->txtEmpNum->text().trimmed();
    if (number.isEmpty()) {
        warn(tr("请输入员工编号！"));
        return false;
    }
    // Whether the number is new is decided where the employee is stored.
    return true;
}

frimEmpImport::SaveResult frimEmpImport::SaveEmployee() {
    if (!CheckInput())
        return SaveResult::InputRefused;
    // The record takes the photo file and deletes it when it goes.
    clsEmployee employee(MainSession::Get());
    employee.setENAME(ui->txtName->text().trimmed());
    employee.setdid(GetDeptID());
    employee.setENTERDATE(*ParseEntryDate(ui->txtInputDate->text()));
    employee.setENUMBER(ui->txtEmpNum->text().trimmed());
    employee.setHeadImg(m_photoPath);
    if (!employee.UpdateEBarCode())
        return SaveResult::Failed;
    switch (employee.Store(true)) {
    case clsEmployee::StoreResult::Stored:
        return SaveResult::Saved;
    case clsEmployee::StoreResult::NumberTaken:
        return SaveResult::NumberTaken;
    default:
        return SaveResult::Failed;
    }
}

void frimEmpImport::btnSave_Click() {
    const SaveResult result = SaveEmployee();
    switch (result) {
    case SaveResult::Saved:
        MsgBox::ShowMessage(this, tr("员工信息已成功导入！"), tr("消息"),
                            MsgBox::Icon::Information);
        ui->btnSave->setEnabled(false);
        break;
    case SaveResult::Failed:
    case SaveResult::NumberTaken:
        // The failed record took the photo file with it; put it back so the
        // operator can correct the entry and save again.
        WritePhoto();
        warn(result == SaveResult::NumberTaken ? tr("员工编号已存在，请使用未使用的员工编号！")
                                               : tr("员工信息保存失败！"));
        break;
    case SaveResult::InputRefused:
        break;
    }
}

void frimEmpImport::btnNext_Click() {
    NextFile();
}
