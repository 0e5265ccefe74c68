#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace Ui {
class frimEmpImport;
}

// Batch entry: steps once through new-employee files; for each the operator
// types a number and saves the employee with a fresh card barcode. A file that
// cannot be taken is named with its reason and leaves the fields empty.
class frimEmpImport : public QDialog {
    Q_OBJECT

public:
    explicit frimEmpImport(QWidget* parent = nullptr);
    ~frimEmpImport() override;

    // The files to step through; set before the window is shown.
    void SetFileList(const QStringList& files);
    // The window's one temporary photo file.
    QString PhotoPath() const { return m_photoPath; }

    // An entry date as typed ("2007-3-5", "2007/3/5 8:05:09", ...); none
    // when the text is not a date.
    static std::optional<QDateTime> ParseEntryDate(const QString& text);

    // What became of a new-employee file.
    enum class FileResult { Loaded, Unreadable, Missing, Empty, NoMoreFiles };
    // What became of the entry: InputRefused when a field is wrong (said already).
    enum class SaveResult { Saved, InputRefused, NumberTaken, Failed };

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void btnSave_Click();
    void btnNext_Click();

private:
    void Form_Load();
    void InitProgress();
    void LoadDepartments();
    FileResult NextFile();
    FileResult LoadEmployeeFile(const QString& path);
    void SelectDepartment(qint16 did);
    qint16 GetDeptID() const;
    void UpdateNextButton();
    bool CheckInput();
    SaveResult SaveEmployee();
    bool WritePhoto();
    void RemovePhoto();
    void warn(const QString& text);

    std::unique_ptr<Ui::frimEmpImport> ui;
    QStringList m_files;
    int m_total = 0;
    int m_position = 0;
    QString m_photoPath;
    QByteArray m_photo; // the current file's photo, written again after a failed save
    std::unique_ptr<QTemporaryDir> m_tempDir;
    bool m_loaded = false;
};
