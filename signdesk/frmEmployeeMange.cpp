#include "signdesk/frmEmployeeMange.h"
#include "ui_frmEmployeeMange.h"

#include "devices/capture/CameraSource.h"
#include "devices/capture/CameraView.h"
#include "imaging/PhotoEncoding.h"
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/records/clsDept.h"
#include "shared/records/clsDeptSet.h"
#include "shared/records/clsEmployee.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString BitmapName = QStringLiteral("tmp.bmp");
const QString PhotoName = QStringLiteral("tmp.jpg");

void Warn(QWidget* parent, const QString& text,
          const QString& title = QCoreApplication::translate("frmEmployeeMange", "警告")) {
    MsgBox::ShowMessage(parent, text, title, MsgBox::Icon::Exclamation);
}

// Removes the files it names when it goes out of scope, whatever the way out.
class RemoveOnExit {
public:
    RemoveOnExit(QString a, QString b) : m_a(std::move(a)), m_b(std::move(b)) {}
    ~RemoveOnExit() {
        for (const QString& path : {m_a, m_b})
            if (!path.isEmpty() && QFileInfo(path).isFile())
                QFile::remove(path);
    }
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;

private:
    QString m_a, m_b;
};

// Whether `name` can be created or replaced in `dir`: a new file can be made
// there, and what already carries the name is a writable file.
bool Writable(const QString& dir, const QString& name) {
    const QFileInfo existing(JoinPath(dir, name));
    if (existing.exists() && !(existing.isFile() && existing.isWritable()))
        return false;
    QTemporaryFile probe(JoinPath(dir, QStringLiteral("enrol-XXXXXX")));
    return probe.open();
}

} // namespace

frmEmployeeMange::frmEmployeeMange(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmEmployeeMange>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);

    // The live camera picture fills the frame "头像".
    m_camera = CreateCameraSource(this);
    ezVidCap = new CameraView(m_camera, ui->Frame1);
    ezVidCap->setObjectName(QStringLiteral("ezVidCap"));
    auto* frameLayout = new QVBoxLayout(ui->Frame1);
    frameLayout->addWidget(ezVidCap);

    TimerDspTime = new QTimer(this);
    TimerDspTime->setObjectName(QStringLiteral("TimerDspTime"));
    TimerDspTime->setInterval(ClockInterval);
    connect(TimerDspTime, &QTimer::timeout, this, &frmEmployeeMange::TimerDspTime_Timer);

    connect(ui->cmdAddNew, &QPushButton::clicked, this, &frmEmployeeMange::cmdAddNew_Click);
    connect(ui->cmdAppend, &QPushButton::clicked, this, &frmEmployeeMange::cmdAppend_Click);
    connect(ui->cmbQuit, &QPushButton::clicked, this, &QDialog::close);

    // Loading: the posts, then the clock.
    FillKinds();
    StartClock();
}

frmEmployeeMange::~frmEmployeeMange() = default;

void frmEmployeeMange::FillKinds() {
    ui->cbKind->clear();
    const clsDeptSet depts(MainSession::Get());
    for (int i = 1; i <= depts.Count(); ++i)
        ui->cbKind->addItem(depts.Item(i).DNAME());
    if (ui->cbKind->count() > 0)
        ui->cbKind->setCurrentIndex(0);
}

void frmEmployeeMange::StartClock() {
    ShowTime();
    TimerDspTime->start();
}

void frmEmployeeMange::TimerDspTime_Timer() {
    ShowTime();
}

void frmEmployeeMange::ShowTime() {
    m_shownTime = AppClock::now();
    ui->lblEnterTime->setText(ChineseUi::GeneralDateTime(m_shownTime));
}

void frmEmployeeMange::SetInputEnabled(bool e) {
    ui->txtName->setEnabled(e);
    ui->cbKind->setEnabled(e);
    if (e)
        TimerDspTime->start();
    else
        TimerDspTime->stop();
}

bool frmEmployeeMange::Validate() {
    bool ok = true;
    ui->txtName->setText(ui->txtName->text().trimmed());
    if (ui->txtName->text().isEmpty()) {
        Warn(this, tr("请输入姓名！"), tr("提示"));
        ok = false;
    }
    if (ui->cbKind->currentText().trimmed().isEmpty()) {
        Warn(this, tr("请选择岗位！"), tr("提示"));
        ok = false;
    }
    return ok;
}

QString frmEmployeeMange::AskFileName() {
    const QString proposed =
        JoinPath(ProgramDirectory(), ui->txtName->text().trimmed() + QStringLiteral(".xml"));
    // The dialog asks before replacing a file: two employees of one name
    // would otherwise lose the first one's file without a word.
    return FileDialog::SaveFile(this, QString(), tr("XML文件 (*.xml)"), proposed,
                                QFileDialog::Options())
        .trimmed();
}

QString frmEmployeeMange::TempFolder() {
    const QString programDir = ProgramDirectory();
    if (Writable(programDir, BitmapName) && Writable(programDir, PhotoName))
        return programDir;
    if (!m_privateTemp)
        m_privateTemp = std::make_unique<QTemporaryDir>();
    return m_privateTemp->isValid() ? m_privateTemp->path() : QString();
}

void frmEmployeeMange::cmdAddNew_Click() {
    ui->txtName->clear();
    SetInputEnabled(true);
    m_camera->setPreview(true);
}

void frmEmployeeMange::cmdAppend_Click() {
    if (!Validate())
        return;
    if (!m_camera->isPresent()) {
        Warn(this, tr("没有发现摄像头,不能追加员工信息!"));
        return;
    }
    const QString folder = TempFolder();
    const QString bitmapPath = folder.isEmpty() ? QString() : JoinPath(folder, BitmapName);
    const QString photoPath = folder.isEmpty() ? QString() : JoinPath(folder, PhotoName);
    // Both temporary files go after every attempt: saved, cancelled or failed.
    const RemoveOnExit cleanup(bitmapPath, photoPath);
    try {
        SaveEmployee(bitmapPath, photoPath);
    } catch (const std::exception&) {
        Warn(this, tr("员工信息保存失败!"));
    }
}

void frmEmployeeMange::SaveEmployee(const QString& bitmapPath, const QString& photoPath) {
    clsEmployee employee(MainSession::Get());
    employee.setENAME(ui->txtName->text());
    employee.setENTERDATE(m_shownTime);
    clsDept dept(MainSession::Get());
    dept.setDNAME(ui->cbKind->currentText().trimmed()); // looked up by name; 0 when unknown
    employee.setdid(dept.ID());

    if (bitmapPath.isEmpty() || !m_camera->saveFrame(bitmapPath)) {
        Warn(this, tr("取得员工头像失败,不能追加员工信息!"));
        return;
    }
    // The picture shown is the one taken.
    m_camera->setPreview(false);
    if (!EncodePhotoFile(bitmapPath, photoPath)) {
        Warn(this, tr("员工信息保存失败!"));
        return;
    }
    employee.setHeadImg(photoPath);

    const QString target = AskFileName();
    if (target.isEmpty()) { // cancelled: back to the live picture
        m_camera->setPreview(true);
        return;
    }
    if (employee.savetoXML(target)) {
        MsgBox::ShowMessage(this, tr("员工信息已成功保存!"), tr("信息"), MsgBox::Icon::Information);
        SetInputEnabled(false);
    } else {
        Warn(this, tr("员工信息保存失败!"));
    }
}
