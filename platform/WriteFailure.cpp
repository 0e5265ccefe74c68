#include "platform/WriteFailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sys/statvfs.h>
#include <unistd.h>

namespace WriteFailure {

namespace {

// Less room than this on the folder's file system counts as a full disk.
constexpr unsigned long long kNearlyFull = 1024 * 1024;

bool nearlyFull(const QString& folder) {
    struct statvfs fs {};
    return ::statvfs(QFile::encodeName(folder).constData(), &fs) == 0 &&
           static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize < kNearlyFull;
}

} // namespace

QString Cause(const QString& path) {
    const QFileInfo file(path);
    const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
    const QString folder = file.absolutePath();
    const QString shownFolder = QDir::toNativeSeparators(folder);
    if (file.exists())
        return QCoreApplication::translate("WriteFailure", "文件“%1”已存在。").arg(shown);
    if (!QFileInfo(folder).isDir())
        return QCoreApplication::translate("WriteFailure", "文件夹“%1”不存在。").arg(shownFolder);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return QCoreApplication::translate("WriteFailure", "没有在文件夹“%1”中写入文件的权限。")
            .arg(shownFolder);
    if (nearlyFull(folder))
        return QCoreApplication::translate("WriteFailure", "磁盘空间不足。");
    return QCoreApplication::translate("WriteFailure", "无法写入文件“%1”。").arg(shown);
}

} // namespace WriteFailure
