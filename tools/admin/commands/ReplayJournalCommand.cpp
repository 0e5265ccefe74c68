#include "tools/admin/commands/ReplayJournalCommand.h"

#include "session/MainSession.h"
#include "shared/db/DbDateTime.h"
#include "shared/offline/KeptJournal.h"
#include "shared/records/clsPresence.h"
#include "tools/admin/AdminOptions.h"

namespace {

QString stateName(qint16 state) {
    switch (state) {
    case clsPresence::Arrival:
        return QStringLiteral("arrival");
    case clsPresence::Departure:
        return QStringLiteral("departure");
    case clsPresence::AlreadyDeparted:
        return QStringLiteral("already departed");
    case clsPresence::Repeated:
        return QStringLiteral("repeated");
    default:
        return QStringLiteral("unknown card");
    }
}

// "2026-03-02 08:00:00 1001 (card C001) scan 5f0c...".
QString scanText(const ScanJournal::Entry& e) {
    return QStringLiteral("%1 %2 (card %3) scan %4")
        .arg(DbDateTime::ToText(e.at), e.number.isEmpty() ? QStringLiteral("-") : e.number,
             e.barcode, e.scanId);
}

} // namespace

ReplayJournalCommand::ReplayJournalCommand()
    : AdminCommand(
          {.name = QStringLiteral("replay-journal"),
           .synopsis = QStringLiteral("FILE"),
           .summary = QStringLiteral(
               "Gives the scans of a station's journal to the database of the program\n"
               "directory, each exactly once: FILE is a journal the station could not use\n"
               "and kept under a new name (station-journal.db.damaged-...), or any\n"
               "station-journal.db of a stopped station. FILE is read from a copy (its -wal\n"
               "with it; the first 16 bytes restored when overwritten) and left as it is.\n"
               "Prints each scan applied, each one the database has already, and what could\n"
               "not be read; a second run applies nothing. Fails (1) when part of the file\n"
               "could not be read or the database did not take a scan (run it again)."),
           .minArgs = 1,
           .maxArgs = 1,
           .options = {AdminOptions::Dir()}}) {}

int ReplayJournalCommand::Run(Admin::Context& c) const {
    const QString file = Admin::Absolute(c.args[0]);
    const KeptJournal journal(file);
    if (!journal.IsOpen())
        return Admin::Fail(c.err, journal.Problem());
    if (!Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    if (journal.HeaderRestored())
        c.out << file << ": the first 16 bytes were not SQLite's; read with them restored"
              << Qt::endl;
    const KeptJournal::Contents contents = journal.Read();
    int applied = 0, there = 0, unknown = 0;
    for (const ScanJournal::Entry& e : contents.scans) {
        const KeptJournal::Applied result = KeptJournal::Apply(MainSession::Get(), e);
        switch (result.outcome) {
        case KeptJournal::Outcome::Applied:
            ++applied;
            c.out << "applied: " << scanText(e) << ": " << stateName(result.state) << Qt::endl;
            break;
        case KeptJournal::Outcome::AlreadyThere:
            ++there;
            c.out << "already there: " << scanText(e) << Qt::endl;
            break;
        case KeptJournal::Outcome::UnknownCard:
            ++unknown;
            c.out << "unknown card: " << scanText(e) << Qt::endl;
            break;
        case KeptJournal::Outcome::Failed:
            c.out << applied << " applied, " << there << " already there; the rest not applied"
                  << Qt::endl;
            return Admin::Fail(c.err, QStringLiteral("the database did not take %1; the scans "
                                                     "after it wait for the next run")
                                          .arg(scanText(e)));
        }
    }
    for (const QString& line : contents.unreadable)
        c.out << "could not be read: " << line << Qt::endl;
    c.out << contents.scans.size() << " scans read: " << applied << " applied, " << there
          << " already there, " << unknown << " of unknown cards; " << contents.unreadable.size()
          << " could not be read" << Qt::endl;
    if (!contents.unreadable.isEmpty())
        return Admin::Fail(c.err, QStringLiteral("%1 part(s) of %2 could not be read")
                                      .arg(contents.unreadable.size())
                                      .arg(file));
    return Admin::Success;
}
