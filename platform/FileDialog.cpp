#include "platform/FileDialog.h"

#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace FileDialog {

namespace {

// Qt's file list writes the modification times in the system's locale,
// English where none is set; these show them as the programs' other dates.
class ChineseDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files && role == Qt::DisplayRole && index.column() == 3)
            return QLocale().toString(files->lastModified(mapToSource(index)),
                                      QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

QStringList ask(QWidget* parent, const Request& request, QFileDialog::Options options) {
    if (Seam::Active())
        return Seam::Call(request);
    QFileDialog dlgCommonDialog(parent, request.title, request.start, request.filter);
    dlgCommonDialog.setObjectName(QStringLiteral("dlgCommonDialog"));
    dlgCommonDialog.setOptions(dlgCommonDialog.options() | options);
    dlgCommonDialog.setProxyModel(new ChineseDates(&dlgCommonDialog)); // Qt's own dialog only
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
