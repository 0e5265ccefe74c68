#include "tools/admin/InitFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ".attendance-init-HOST-" then the process id: a folder of a process that
// is gone is a leftover.
QString stagingPrefix() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return QStringLiteral(".attendance-init-%1-").arg(QString::fromLocal8Bit(host));
}

} // namespace

CreatedFolders::~CreatedFolders() {
    for (const QString& path : m_created)
        QDir().rmdir(path); // only while empty
}

bool CreatedFolders::make(const QString& path) {
    QStringList missing;
    for (QString p = QDir::cleanPath(path); !QFileInfo::exists(p);
         p = QFileInfo(p).absolutePath()) {
        missing << p;
        if (QFileInfo(p).absolutePath() == p)
            break;
    }
    if (!QDir().mkpath(path))
        return false;
    m_created = missing + m_created;
    return true;
}

StagingFolder::StagingFolder(const QString& beside) {
    const QString path =
        QDir(beside).filePath(stagingPrefix() + QString::number(qint64(::getpid())));
    QDir(path).removeRecursively();
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        m_error = QStringLiteral("cannot create %1: %2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    else
        m_path = path;
}

StagingFolder::~StagingFolder() {
    if (isValid())
        QDir(m_path).removeRecursively();
}

QString StagingFolder::filePath(const QString& name) const {
    return QDir(m_path).filePath(name);
}

void StagingFolder::RemoveStale(const QString& folder) {
    const QString prefix = stagingPrefix();
    const QStringList found =
        QDir(folder).entryList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden);
    for (const QString& name : found) {
        bool isNumber = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&isNumber);
        if (isNumber && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            QDir(QDir(folder).filePath(name)).removeRecursively();
    }
}
