#pragma once

#include "tests/common/BoxLog.h"
#include "tests/common/TestProgramDir.h"

#include <QList>
#include <QStringList>

// Answers the next questions (Yes/No boxes) that `log` takes, in order;
// log.clear() drops the answers not given.
void AnswerQuestions(BoxLog& log, const QList<MsgBox::Result>& answers);

// Departments 1 办公室, 2 教务处, 3 后勤部 and the employees `numbers`
// (names 员工<number>, barcodes 100000000000 + number) in department 1.
bool SeedOffice(TestProgramDir& dir, const QStringList& numbers);
