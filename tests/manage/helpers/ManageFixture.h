#pragma once

#include "tests/common/TestProgramDir.h"

#include <QStringList>

// Departments 1 办公室, 2 教务处, 3 后勤部 and the employees `numbers`
// (names 员工<number>, barcodes 100000000000 + number) in department 1.
bool SeedOffice(TestProgramDir& dir, const QStringList& numbers);
