#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class frimImportExport;
}

// Imports an employee file into the database, or exports the marked
// employees to one. The opener sets the mode before showing the window.
class frimImportExport : public QDialog {
    Q_OBJECT

public:
    explicit frimImportExport(QWidget* parent = nullptr);
    ~frimImportExport() override;

    // true = import, false = export (the default).
    void setImportMode(bool import);
    bool importMode() const { return m_import; }

    // Numbers of the marked employees, in list order.
    QStringList MarkedNumbers() const;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void btnBrow_Click();
    void btnOp_Click();

private:
    void applyMode();
    void FillList();
    void Export();
    void Import();

    std::unique_ptr<Ui::frimImportExport> ui;
    bool m_import = false;
    bool m_loaded = false;
    QString m_lastFile; // the browse dialog's last choice
};
