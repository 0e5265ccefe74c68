#include "signdesk/frmScanTest.h"

#include "platform/DesktopKit.h"
#include "shared/base/AppClock.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const kNoBarcode = QT_TRANSLATE_NOOP("frmScanTest", "条码：");

} // namespace

frmScanTest::frmScanTest(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmScanTest"));
    setWindowTitle(tr("扫描测试"));
    resize(480, 420);

    auto* hint = new QLabel(tr("请扫描签到卡，下面列出扫描枪发送的每个按键。"), this);
    hint->setObjectName(QStringLiteral("lblHint"));

    lstKeys = new QTableWidget(0, 3, this);
    lstKeys->setObjectName(QStringLiteral("lstKeys"));
    lstKeys->setHorizontalHeaderLabels({tr("按键"), tr("文字"), tr("间隔(毫秒)")});
    lstKeys->horizontalHeader()->setStretchLastSection(true);
    lstKeys->setEditTriggers(QAbstractItemView::NoEditTriggers);

    lblBarcode = new QLabel(tr(kNoBarcode), this);
    lblBarcode->setObjectName(QStringLiteral("lblBarcode"));
    lblBarcode->setTextFormat(Qt::PlainText);
    lblBarcode->setTextInteractionFlags(Qt::NoTextInteraction);

    cmdClear = new QPushButton(tr("清除"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setAutoDefault(false);
    connect(cmdClear, &QPushButton::clicked, this, &frmScanTest::cmdClear_Click);
    // Without a window manager there is no close box: the button and Escape close.
    cmdClose = new QPushButton(tr("关闭"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("layout"));
    layout->addWidget(hint);
    layout->addWidget(lstKeys, 1);
    layout->addWidget(lblBarcode);
    auto* buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->addStretch();
    buttons->addWidget(cmdClear);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    // Only the window takes keys: a scanner's Tab or Enter must not move the
    // focus or press the button.
    for (QWidget* w : findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
}

bool frmScanTest::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape)
            reject();
        else
            AddKey(key->key(), key->text());
        return true;
    }
    return QDialog::event(event);
}

void frmScanTest::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    DesktopKit::TakeKeyboardFocus(this);
}

void frmScanTest::AddKey(int key, const QString& text) {
    const qint64 now = AppClock::msecsSinceEpoch();
    const QString gap = m_lastKey ? QString::number(now - *m_lastKey) : QStringLiteral("-");
    m_lastKey = now;
    const int row = lstKeys->rowCount();
    lstKeys->insertRow(row);
    const QString cells[] = {ScanInput::KeyName(key), ScanInput::Visible(text), gap};
    for (int column = 0; column < 3; ++column)
        lstKeys->setItem(row, column, new QTableWidgetItem(cells[column]));
    lstKeys->scrollToBottom();
    // The station upper-cases what it takes; a terminator after nothing is no scan.
    for (const QString& barcode : m_input.Feed(key, text, now))
        if (!barcode.isEmpty())
            lblBarcode->setText(tr(kNoBarcode) + barcode.toUpper());
}

void frmScanTest::cmdClear_Click() {
    lstKeys->setRowCount(0);
    lblBarcode->setText(tr(kNoBarcode));
    m_input.Clear();
    m_lastKey.reset();
}
