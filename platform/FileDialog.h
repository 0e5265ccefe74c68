#pragma once

#include "platform/Seam.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

// Every file dialog of the programs goes through here, so tests can give the
// answer without a human. The dialog is a QFileDialog named dlgCommonDialog.
namespace FileDialog {

// One existing file; a null string when cancelled. `start` is a folder or a file.
QString OpenFile(QWidget* parent, const QString& title, const QString& filter,
                 const QString& start = QString(), QFileDialog::Options options = {});
// A file name to save to (the proposed one preselected); null when cancelled.
// No overwrite question by default: the callers refuse or replace files themselves.
QString SaveFile(QWidget* parent, const QString& title, const QString& filter,
                 const QString& proposed = QString(),
                 QFileDialog::Options options = QFileDialog::DontConfirmOverwrite);
// Several existing files; empty when cancelled.
QStringList OpenFiles(QWidget* parent, const QString& title, const QString& filter,
                      const QString& start = QString(), QFileDialog::Options options = {});

// Tests: while a Seam::Override lives, its function answers instead: the
// chosen paths (one for OpenFile and SaveFile), none to cancel.
enum class Kind { Open, Save, OpenSeveral };
struct Request {
    Kind kind = Kind::Open;
    QString title;
    QString filter;
    QString start; // folder or proposed file
};
using Seam = ::Seam<struct FileDialogTag, QStringList(const Request&)>;

} // namespace FileDialog
