#pragma once

#include "shared/records/clsPresence.h"

#include <vector>

// One table of an employee's days for the day's rule: what a scan at `now`
// means and which record is the day's first. PresenceDay is held to it
// (tst_presenceday), and so is the server's sign-in function (tst_records).
// Times are stored texts; the scan's day is the day of `now`.
struct DayCase {
    struct Stored {
        const char* in;
        const char* out; // nullptr: no departure
    };
    const char* name;
    std::vector<Stored> records;
    const char* now;
    qint16 state;
    int first; // index into records of the day's first record; -1: none
};

inline const std::vector<DayCase> kDayCases = {
    {"empty day", {}, "2026-03-10 08:00:00", clsPresence::Arrival, -1},
    // Repeated within 60 s of the arrival, both sides of the bound.
    {"one arrival, 59 s after",
     {{"2026-03-10 08:00:00", nullptr}},
     "2026-03-10 08:00:59",
     clsPresence::Repeated,
     0},
    {"one arrival, 60 s after",
     {{"2026-03-10 08:00:00", nullptr}},
     "2026-03-10 08:01:00",
     clsPresence::Repeated,
     0},
    {"one arrival, 61 s after",
     {{"2026-03-10 08:00:00", nullptr}},
     "2026-03-10 08:01:01",
     clsPresence::Departure,
     0},
    {"arrival and departure",
     {{"2026-03-10 08:00:00", "2026-03-10 17:00:00"}},
     "2026-03-10 17:00:30",
     clsPresence::AlreadyDeparted,
     0},
    // Records out of order: the first by time decides, departed or not.
    {"out of order, first departed",
     {{"2026-03-10 19:00:00", nullptr}, {"2026-03-10 08:00:00", "2026-03-10 12:00:00"}},
     "2026-03-10 20:00:00",
     clsPresence::AlreadyDeparted,
     1},
    {"out of order, first open",
     {{"2026-03-10 19:00:00", "2026-03-10 22:00:00"}, {"2026-03-10 08:00:00", nullptr}},
     "2026-03-10 20:00:00",
     clsPresence::Departure,
     1},
    // Midnight on both sides: the day runs from its 00:00:00 to the next's.
    {"the day before's last second",
     {{"2026-03-09 23:59:30", nullptr}},
     "2026-03-10 00:00:10",
     clsPresence::Arrival,
     -1},
    {"the day's first second",
     {{"2026-03-10 00:00:00", nullptr}, {"2026-03-09 23:59:59", nullptr}},
     "2026-03-10 00:00:30",
     clsPresence::Repeated,
     0},
    {"the next day's first second",
     {{"2026-03-11 00:00:00", nullptr}, {"2026-03-10 23:59:59", nullptr}},
     "2026-03-10 23:59:59",
     clsPresence::Repeated,
     1},
    // A record a correction completed in the office (departure added)
    // stays the day's first beside a later one another tool wrote.
    {"a correction's record",
     {{"2026-03-10 19:00:00", nullptr}, {"2026-03-10 08:00:00", "2026-03-10 17:00:00"}},
     "2026-03-10 19:30:00",
     clsPresence::AlreadyDeparted,
     1},
    // Texts other tools wrote: time order, not text order; an unreadable
    // arrival is never the first while a readable one is there.
    {"text order is not time order",
     {{"2026-03-10 07:45:00", nullptr}, {"2026-03-10 7:30", nullptr}},
     "2026-03-10 16:00:00",
     clsPresence::Departure,
     1},
    {"unreadable beside readable",
     {{"2026-03-10 garbage", "2026-03-10 10:00:00"}, {"2026-03-10 09:00:00", nullptr}},
     "2026-03-10 12:00:00",
     clsPresence::Departure,
     1},
    {"unreadable alone",
     {{"2026-03-10 xx", nullptr}},
     "2026-03-10 12:00:00",
     clsPresence::Error,
     -1},
    {"unreadable alone, departed",
     {{"2026-03-10 xx", "2026-03-10 17:00:00"}},
     "2026-03-10 18:00:00",
     clsPresence::AlreadyDeparted,
     -1},
};
