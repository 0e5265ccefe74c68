#include "platform/frmAbout.h"
#include "ui_frmAbout.h"

#include "platform/DesktopServices.h"
#include "platform/MsgBox.h"

#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>

frmAbout::frmAbout(const Info& info, QWidget* parent)
    : QDialog(parent), m_homePage(info.homePage), ui(std::make_unique<Ui::frmAbout>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(info.caption);
    ui->lblTitle->setText(info.title);
    ui->lblVersion->setText(tr("版本 %1.%2.%3").arg(info.major).arg(info.minor).arg(info.revision));
    ui->lblURL->setText(m_homePage);
    ui->lblURL->setCursor(Qt::PointingHandCursor);
    ui->lblURL->installEventFilter(this);
    setLinkColor(Qt::blue);
    // Moving over the rest of the window turns the link blue again.
    setMouseTracking(true);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::setLinkColor(const QColor& color) {
    QPalette palette = ui->lblURL->palette();
    palette.setColor(QPalette::WindowText, color);
    ui->lblURL->setPalette(palette);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->lblURL) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            setLinkColor(Qt::red);
            break;
        case QEvent::Leave:
            setLinkColor(Qt::blue);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                DesktopServices::OpenDocument(m_homePage);
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::mouseMoveEvent(QMouseEvent* event) {
    setLinkColor(Qt::blue);
    QDialog::mouseMoveEvent(event);
}

QString frmAbout::SystemInfoTool() {
    for (const char* tool : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

void frmAbout::cmdSysInfo_Click() {
    const QString tool = SystemInfoTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {})) {
        MsgBox::ShowMessage(this, tr("此时系统信息不可用"), QString());
    }
}
