#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class frmCorrectionTrail;
}

// "考勤修正记录": the trail of corrections and month closings made between
// two dates, of all employees or of one, in the order written, with the
// actions in Chinese; exported as a CSV file of the rows on show.
class frmCorrectionTrail : public QDialog {
    Q_OBJECT

public:
    explicit frmCorrectionTrail(QWidget* parent = nullptr);
    ~frmCorrectionTrail() override;

    // The trail's action word ("add", "close", ...) as the window shows it.
    static QString ActionText(const QString& key);

private slots:
    void cmdQuery_Click();
    void cmdExport_Click();

private:
    std::unique_ptr<Ui::frmCorrectionTrail> ui;
};
