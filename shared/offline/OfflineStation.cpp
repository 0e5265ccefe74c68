#include "shared/offline/OfflineStation.h"

#include "shared/base/ProgramDirectory.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbQuery.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/offline/OfflineRule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// What became of a file, added to `out` (nothing: it opened as it was).
void describe(const LocalFile& file, StationFileProblem::File which,
              std::vector<StationFileProblem>* out) {
    if (file.Problem().isEmpty())
        return;
    using Kind = StationFileProblem::Kind;
    StationFileProblem p;
    p.file = which;
    p.path = file.Path();
    p.keptAs = file.KeptAs();
    if (!file.KeptAs().isEmpty()) {
        p.kind = file.IsOpen() ? Kind::KeptAside : Kind::KeptAsideNotNew;
    } else if (file.FolderUnusable()) {
        p.kind = Kind::FolderUnusable;
        p.path = QFileInfo(file.Path()).absolutePath();
    } else {
        p.kind = Kind::CannotOpen;
    }
    out->push_back(p);
}

} // namespace

OfflineStation::OfflineStation(const QString& folder)
    : m_cache(CacheFile(folder), LocalFile::Unusable::SetAside),
      m_journal(JournalFile(folder), LocalFile::Unusable::SetAside) {
    describe(m_journal.File(), StationFileProblem::File::Journal, &m_problems);
    describe(m_cache.File(), StationFileProblem::File::Copy, &m_problems);
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

bool OfflineStation::ServerAnswers(DbSession& server) {
    const StatementWatchdog::Quick quick;
    auto q = DbQuery::Read(server, QStringLiteral("SELECT 1"), {});
    return q && q->next();
}
