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
// key reaches the window itself (nothing else takes the focus), so Enter and
// Tab are shown like any other key; Escape and the button 关闭 close it (a
// station without a window manager has no close box).
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
    QPushButton* cmdClose = nullptr;

    ScanInput m_input;
    // Clock milliseconds of the key before; none after a clear.
    std::optional<qint64> m_lastKey;
};
