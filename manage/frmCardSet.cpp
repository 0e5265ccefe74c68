#include "manage/frmCardSet.h"
#include "ui_frmCardSet.h"

#include "platform/ColorDialog.h"
#include "platform/DesktopKit.h"
#include "platform/FileDialog.h"
#include "platform/FontDialog.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "reports/cards/clsLogo.h"
#include "shared/base/ProgramDirectory.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>

namespace {

const QString kUnit = QStringLiteral("UNIT");
const QString kMemo = QStringLiteral("MEMO");
constexpr int kTwipsPerPixel = 15; // the card at its printed size on a 96-dpi screen

QRect toPixels(const QRect& twips) {
    return QRect(twips.left() / kTwipsPerPixel, twips.top() / kTwipsPerPixel,
                 twips.width() / kTwipsPerPixel, twips.height() / kTwipsPerPixel);
}

// Copies a file over `target` only once the copy is complete.
bool copyFile(const QString& source, const QString& target) {
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = in.readAll();
    return in.error() == QFileDevice::NoError && out.write(bytes) == bytes.size() && out.commit();
}

} // namespace

frmCardSet::frmCardSet(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmCardSet>()) {
    ui->setupUi(this);
    DesktopKit::SetTitleBar(this, DesktopKit::TitleBar::FixedWithCloseBox);

    // The sample card, with the design's elements where the printed card has them.
    const QImage card = SingleEmployeeInfoReport::SampleCard(1440 / kTwipsPerPixel);
    ui->imgCard->setPixmap(QPixmap::fromImage(card));
    ui->imgCard->setFixedSize(card.size());
    SingleEmployeeInfoReport layout;
    ui->imgLogo->setGeometry(toPixels(layout.Control(QStringLiteral("logPic"))->rect));
    ui->lblUnit->setGeometry(toPixels(layout.Control(QStringLiteral("lblUnit"))->rect));
    ui->lblMemo->setGeometry(toPixels(layout.Control(QStringLiteral("lblMemo"))->rect));
    ui->lblUnit->setFont(QFont(QStringLiteral("隶书")));
    ui->lblMemo->setFont(QFont(QStringLiteral("Arial")));

    connect(ui->btnUnitName, &QPushButton::clicked, this, &frmCardSet::btnUnitName_Click);
    connect(ui->btnUnitFont, &QPushButton::clicked, this, &frmCardSet::btnUnitFont_Click);
    connect(ui->btnUnitColor, &QPushButton::clicked, this, &frmCardSet::btnUnitColor_Click);
    connect(ui->btnUnitLogo, &QPushButton::clicked, this, &frmCardSet::btnUnitLogo_Click);
    connect(ui->btnMemoText, &QPushButton::clicked, this, &frmCardSet::btnMemoText_Click);
    connect(ui->btnMemoFont, &QPushButton::clicked, this, &frmCardSet::btnMemoFont_Click);
    connect(ui->btnMemoColor, &QPushButton::clicked, this, &frmCardSet::btnMemoColor_Click);

    RefreshPreview();
}

frmCardSet::~frmCardSet() = default;

void frmCardSet::RefreshPreview() {
    m_style.InitConfigGroupName(kUnit);
    ui->lblUnit->setText(m_style.GetName());
    showStyle(ui->lblUnit);
    m_style.InitConfigGroupName(kMemo);
    ui->lblMemo->setText(m_style.GetName());
    showStyle(ui->lblMemo);

    const QString logo = clsLogo().ExistingFile();
    ui->imgLogo->setPixmap(logo.isEmpty() ? QPixmap() : QPixmap(logo));
}

// The stored style of the current group on a label; an empty face keeps the
// label's own.
void frmCardSet::showStyle(QLabel* label) {
    QFont font = label->font();
    const QString face = m_style.GetFont().trimmed();
    if (!face.isEmpty())
        font.setFamily(face);
    const double size = m_style.GetSize().toDouble();
    font.setPointSizeF(size > 0 ? size : 14);
    font.setBold(m_style.GetBold());
    font.setItalic(m_style.GetItalic());
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, clsTextDspStyle::ToColor(m_style.GetColor()));
    label->setPalette(palette);
}

void frmCardSet::writeFailed() {
    MsgBox::ShowMessage(this, tr("保存签到卡设置失败！"), tr("错误"), MsgBox::Icon::Exclamation);
    RefreshPreview();
}

void frmCardSet::refuseLogo(const QString& text) {
    MsgBox::ShowMessage(this, text, tr("警告"), MsgBox::Icon::Exclamation);
}

void frmCardSet::askText(const QString& group, QLabel* label, const QString& prompt) {
    m_style.InitConfigGroupName(group);
    const std::optional<QString> answer =
        InputBox::GetText(this, tr("输入显示名称"), prompt, m_style.GetName());
    if (!answer || answer->trimmed().isEmpty())
        return;
    if (!m_style.SetName(*answer))
        return writeFailed();
    label->setText(*answer);
}

void frmCardSet::chooseFont(const QString& group, QLabel* label) {
    m_style.InitConfigGroupName(group);
    QFont preset = label->font();
    const QString face = m_style.GetFont().trimmed();
    if (!face.isEmpty())
        preset.setFamily(face);
    const double stored = std::nearbyint(m_style.GetSize().toDouble());
    preset.setPointSize(stored >= 1 && stored <= 32767 ? int(stored) : 14);
    preset.setBold(m_style.GetBold());
    preset.setItalic(m_style.GetItalic());

    // Cancelling changes nothing.
    const std::optional<QFont> chosen = FontDialog::GetFont(this, preset);
    if (!chosen)
        return;
    const QString family = chosen->family().trimmed();
    // Whole points, a half to the even neighbour.
    const double size = std::nearbyint(chosen->pointSizeF());
    bool ok = true;
    if (!family.isEmpty())
        ok = m_style.SetFont(family) && ok;
    if (size > 0)
        ok = m_style.SetSize(QString::number(qint64(size))) && ok;
    ok = m_style.SetBold(chosen->bold()) && ok;
    ok = m_style.SetItalic(chosen->italic()) && ok;
    if (!ok)
        return writeFailed();
    showStyle(label);
}

void frmCardSet::chooseColor(const QString& group, QLabel* label) {
    m_style.InitConfigGroupName(group);
    const std::optional<QColor> chosen =
        ColorDialog::GetColor(this, clsTextDspStyle::ToColor(m_style.GetColor()));
    if (!chosen || !chosen->isValid())
        return;
    if (!m_style.SetColor(clsTextDspStyle::FromColor(*chosen)))
        return writeFailed();
    showStyle(label);
}

void frmCardSet::btnUnitName_Click() {
    askText(kUnit, ui->lblUnit, tr("请输入签到卡显示的单位名称："));
}

void frmCardSet::btnMemoText_Click() {
    askText(kMemo, ui->lblMemo, tr("请输入签到卡备注内容："));
}

void frmCardSet::btnUnitFont_Click() {
    chooseFont(kUnit, ui->lblUnit);
}

void frmCardSet::btnMemoFont_Click() {
    chooseFont(kMemo, ui->lblMemo);
}

void frmCardSet::btnUnitColor_Click() {
    chooseColor(kUnit, ui->lblUnit);
}

void frmCardSet::btnMemoColor_Click() {
    chooseColor(kMemo, ui->lblMemo);
}

void frmCardSet::btnUnitLogo_Click() {
    const QString filter =
        tr("位图(*.bmp *.dib);;GIF图像(*.gif);;JPEG图像(*.jpg);;元文件(*.wmf *.emf);;"
           "Icons(*.ico *.cur);;所有图像文件(*.bmp *.dib *.gif *.jpg *.wmf *.emf *.ico *.cur)");
    const QString chosen = FileDialog::OpenFile(this, QString(), filter);
    if (chosen.isEmpty())
        return;
    const QString name = QFileInfo(chosen).fileName();
    switch (clsLogo::Examine(chosen)) {
    case clsLogo::Refusal::ProgramFile:
        return refuseLogo(tr("“%1”是程序目录中程序自用文件的名称，不能作为LOGO图片！"
                             "请将图片改名后重新选择。")
                              .arg(name));
    case clsLogo::Refusal::NotPicture:
        return refuseLogo(tr("“%1”不是可以读取的图片文件，不能作为LOGO图片！").arg(name));
    case clsLogo::Refusal::None:
        break;
    }
    // The logo in use is always a copy in the program directory, so the
    // chosen file may go away later. A file chosen there already stays as it is.
    const QString target = JoinPath(ProgramDirectory(), name);
    const QFileInfo source(chosen);
    const QFileInfo copy(target);
    const bool same = copy.exists() && source.canonicalFilePath() == copy.canonicalFilePath();
    if (!same && !copyFile(chosen, target))
        return; // as the file dialog's own failures: nothing to add
    if (!clsLogo().SetPath(target))
        return writeFailed();
    ui->imgLogo->setPixmap(QPixmap(target));
}
