#pragma once

#include <QString>
#include <QStringList>

// Demo content for a fresh database: departments, employees with generated
// photos and barcodes, and presence records from the first day of the
// previous month up to today. Everything but the dates is the same on every
// run (fixed seed), so the documentation can name the demo cards.
namespace DemoData {

struct Summary {
    int departments = 0;
    int employees = 0;
    int presenceRows = 0;
};

// Fills the database of the current program directory (through the shared
// connection). The database is expected to be empty.
bool Populate(Summary* summary, QString* error);

// The employee numbers and card barcodes of the demo employees, in order.
QStringList Numbers();
QStringList Barcodes();

// The administrator password and unit name a demo set-up uses by default.
QString DefaultPassword();
QString DefaultUnitName();

} // namespace DemoData
