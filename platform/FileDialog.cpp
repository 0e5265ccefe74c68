#include "platform/FileDialog.h"

namespace FileDialog {

namespace {

QStringList ask(QWidget* parent, const Request& request, QFileDialog::Options options) {
    if (Seam::Active())
        return Seam::Call(request);
    QFileDialog dlgCommonDialog(parent, request.title, request.start, request.filter);
    dlgCommonDialog.setObjectName(QStringLiteral("dlgCommonDialog"));
    dlgCommonDialog.setOptions(dlgCommonDialog.options() | options);
    switch (request.kind) {
    case Kind::Save:
        dlgCommonDialog.setAcceptMode(QFileDialog::AcceptSave);
        dlgCommonDialog.setFileMode(QFileDialog::AnyFile);
        break;
    case Kind::Open:
        dlgCommonDialog.setAcceptMode(QFileDialog::AcceptOpen);
        dlgCommonDialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case Kind::OpenSeveral:
        dlgCommonDialog.setAcceptMode(QFileDialog::AcceptOpen);
        dlgCommonDialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    }
    if (dlgCommonDialog.exec() != QDialog::Accepted)
        return {};
    return dlgCommonDialog.selectedFiles();
}

// The first path, or a null string when there is none (cancelled).
QString first(const QStringList& paths) {
    return paths.isEmpty() ? QString() : paths.first();
}

} // namespace

QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& start,
                 QFileDialog::Options options) {
    return first(ask(parent, {Kind::Open, title, filter, start}, options));
}

QString SaveFile(QWidget* parent, const QString& title, const QString& filter,
                 const QString& proposed, QFileDialog::Options options) {
    return first(ask(parent, {Kind::Save, title, filter, proposed}, options));
}

QStringList OpenFiles(QWidget* parent, const QString& title, const QString& filter,
                      const QString& start, QFileDialog::Options options) {
    return ask(parent, {Kind::OpenSeveral, title, filter, start}, options);
}

} // namespace FileDialog
