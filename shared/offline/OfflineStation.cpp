#include "shared/offline/OfflineStation.h"

#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbQuery.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/db/clsDbConn.h"
#include "shared/offline/OfflineRule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The status bar's words for what became of a file (empty: it opened as it was).
QString describe(const LocalFile& file, const QString& what, const QString& hint) {
    if (file.Problem().isEmpty())
        return {};
    if (!file.KeptAs().isEmpty())
        return file.IsOpen()
                   ? QStringLiteral("%1无法使用，已保留为 %2，并已新建%3")
                         .arg(what, file.KeptAs(), hint)
                   : QStringLiteral("%1无法使用，已保留为 %2，但无法新建，离线模式未开启%3")
                         .arg(what, file.KeptAs(), hint);
    if (file.FolderUnusable())
        return QStringLiteral("离线模式未开启：文件夹 %1 无法保存%2（只读或不存在）")
            .arg(QFileInfo(file.Path()).absolutePath(), what);
    return QStringLiteral("离线模式未开启：%1 %2 无法打开").arg(what, file.Path());
}

} // namespace

OfflineStation::OfflineStation(const QString& folder)
    : m_cache(CacheFile(folder), LocalFile::Unusable::SetAside),
      m_journal(JournalFile(folder), LocalFile::Unusable::SetAside) {
    const QString journal =
        describe(m_journal.File(), QStringLiteral("离线记录"),
                 QStringLiteral("；其中的扫描可用 attendance-admin replay-journal 补录到数据库"));
    const QString cache = describe(m_cache.File(), QStringLiteral("离线副本"), QString());
    for (const QString& text : {journal, cache})
        if (!text.isEmpty())
            m_problems << text;
    if (!m_journal.File().Problem().isEmpty())
        qWarning("offline station: journal %s%s", qUtf8Printable(m_journal.File().Problem()),
                 m_journal.File().KeptAs().isEmpty()
                     ? ""
                     : "; its scans can be applied with 'attendance-admin replay-journal FILE'");
    if (!m_cache.File().Problem().isEmpty())
        qWarning("offline station: copy %s", qUtf8Printable(m_cache.File().Problem()));
}

QString OfflineStation::CacheFile(const QString& folder) {
    return JoinPath(folder, QStringLiteral("station-cache.db"));
}

QString OfflineStation::JournalFile(const QString& folder) {
    return JoinPath(folder, QStringLiteral("station-journal.db"));
}

QString OfflineStation::Folder() {
    if (const QString data = DataPath(); !data.isEmpty())
        return data;
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = QDir::cleanPath(state + QStringLiteral("/attendance"));
    // The parents as the umask allows, the folder itself private.
    QDir().mkpath(state);
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) == 0)
        ::chmod(path.constData(), 0700);
    return folder;
}

OfflineStation::Greeting OfflineStation::decide(const QString& barcode, const QDateTime& at) const {
    Greeting g;
    const std::optional<StationCache::Employee> employee = m_cache.Find(barcode);
    if (employee) {
        g.found = clsEmployee::Lookup::Found;
        g.employee = *employee;
        g.state = OfflineRule::Decide(m_cache.Day(employee->number, at.date()),
                                      m_journal.Day(employee->number, at.date()), at);
    }
    return g;
}

OfflineStation::Greeting OfflineStation::Scan(const QString& barcode, const QDateTime& now) {
    const QDateTime at = now.addMSecs(-now.time().msec());
    Greeting g = decide(barcode, at);
    // Every scan is kept, an unknown card too: the server may know it.
    if (m_journal.Add(barcode.trimmed().toUpper(), g.employee.number, at, g.state).isEmpty())
        g.found = clsEmployee::Lookup::Failed;
    return g;
}

OfflineStation::Greeting OfflineStation::Greet(const QString& scanId, const QString& barcode,
                                               const QDateTime& at) {
    Greeting g = decide(barcode, at.addMSecs(-at.time().msec()));
    if (!m_journal.SetGreeted(scanId, g.employee.number, g.state))
        g.found = clsEmployee::Lookup::Failed;
    return g;
}

bool OfflineStation::ServerAnswers() {
    const StatementWatchdog::Quick quick; // a connection opened here waits as briefly
    auto q = DbQuery::Read(QStringLiteral("SELECT 1"), {});
    return q && q->next();
}
