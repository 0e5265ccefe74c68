#pragma once

#include "signdesk/ScanInput.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

// "扫描测试": shows exactly what a scanner sends, key by key (key name and
// code, the text with control characters spelled out, milliseconds since the
// key before), and the barcode the sign-in screen would take from it. Every
// key reaches the window itself (nothing else takes the focus), so Enter,
// Tab and Escape are shown like any other key; the window closes by its
// close box.
class frmScanTest : public QDialog {
    Q_OBJECT

public:
    explicit frmScanTest(QWidget* parent = nullptr);

    // A key as it arrived; the window's key events come here.
    void AddKey(int key, const QString& text);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void cmdClear_Click();

private:
    QTableWidget* lstKeys = nullptr;
    QLabel* lblBarcode = nullptr;
    QPushButton* cmdClear = nullptr;

    ScanInput m_input;
    // Clock milliseconds of the key before; none after a clear.
    std::optional<qint64> m_lastKey;
};
