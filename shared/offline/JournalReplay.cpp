#include "shared/offline/JournalReplay.h"

#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresence.h"

std::optional<qint16> JournalReplay::replayOne(DbSession& server, const ScanJournal::Entry& e) {
    QString number = e.number;
    if (number.isEmpty()) {
        // A card the copy did not know: the server may know it by now.
        clsEmployee employee(server);
        employee.setEBARCODE(e.barcode);
        const clsEmployee::Lookup found = employee.IsExist();
        if (found == clsEmployee::Lookup::Failed)
            return std::nullopt;
        if (found == clsEmployee::Lookup::NotFound)
            return qint16(0);
        number = employee.ENUMBER();
    }
    clsPresence presence;
    presence.setENUMBER(number);
    const qint16 state = presence.Add(server, e.at, e.scanId);
    if (state == clsPresence::Error || state == clsPresence::WriteFailed)
        return std::nullopt;
    return state == clsPresence::AlreadyReplayed ? e.state : state;
}

JournalReplay::Result JournalReplay::Run(DbSession& server, ScanJournal& journal) {
    Result result;
    for (;;) {
        const QVector<ScanJournal::Entry> batch = journal.Pending(100);
        QVector<ScanJournal::Mark> marks;
        for (const ScanJournal::Entry& e : batch) {
            const std::optional<qint16> state = replayOne(server, e);
            if (!state)
                break;
            marks.push_back({e.scanId, *state});
        }
        if (!marks.isEmpty() && !journal.MarkReplayed(marks))
            break;
        result.recorded += int(marks.size());
        if (batch.isEmpty() || marks.size() < batch.size())
            break;
    }
    result.left = journal.PendingCount();
    return result;
}
