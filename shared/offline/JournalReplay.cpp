#include "shared/offline/JournalReplay.h"

#include "shared/records/clsEmployee.h"
#include "shared/records/clsPresence.h"

bool JournalReplay::replayOne(ScanJournal& journal, const ScanJournal::Entry& e) {
    QString number = e.number;
    if (number.isEmpty()) {
        // A card the copy did not know: the server may know it by now.
        clsEmployee employee;
        employee.setEBARCODE(e.barcode);
        const qint16 found = employee.IsExist();
        if (found < 0)
            return false;
        if (found == 0)
            return journal.MarkReplayed(e.scanId, 0);
        number = employee.ENUMBER();
    }
    clsPresence presence;
    presence.setENUMBER(number);
    const qint16 state = presence.Add(e.at, e.scanId);
    if (state == clsPresence::Error || state == clsPresence::WriteFailed)
        return false;
    return journal.MarkReplayed(e.scanId, state == clsPresence::AlreadyReplayed ? e.state : state);
}

JournalReplay::Result JournalReplay::Run(ScanJournal& journal) {
    Result result;
    for (;;) {
        const QVector<ScanJournal::Entry> batch = journal.Pending();
        if (batch.isEmpty())
            break;
        for (const ScanJournal::Entry& e : batch) {
            if (!replayOne(journal, e)) {
                result.left = journal.PendingCount();
                return result;
            }
            ++result.recorded;
        }
    }
    return result;
}
