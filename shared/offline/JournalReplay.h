#pragma once

#include "shared/offline/ScanJournal.h"

#include <optional>

class DbSession;

// Gives the server the journal's scans, in scan order, each at its own time
// through the sign-in rule (clsPresence::Add with the scan's id), on the
// server's session it is given. The server keeps each scan's id with its record in one
// transaction, so a scan recorded before a crash that kept the journal from
// marking it is only marked now. Stops at the first scan the server does
// not take (away again): the rest wait for the next run, in order. The
// journal is marked a batch at a time: a mark lost is harmless.
class JournalReplay {
public:
    struct Result {
        int recorded = 0; // scans the server took in this run
        int left = 0;     // scans still waiting
        bool complete() const { return left == 0; }
    };
    static Result Run(DbSession& server, ScanJournal& journal);

private:
    // What the server made of a scan, or nothing when it did not take it.
    static std::optional<qint16> replayOne(DbSession& server, const ScanJournal::Entry& e);
};
