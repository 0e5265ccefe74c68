#pragma once

#include "tests/common/BoxLog.h"
#include "tests/common/TestProgramDir.h"

#include <QList>
#include <QStringList>

// Answers the questions (Yes/No boxes) in order while logging every box into
// `log`; an Ok box gets Ok. log.install() ends it.
void AnswerQuestions(BoxLog& log, const QList<MsgBox::Result>& answers);

// Departments 1 办公室, 2 教务处, 3 后勤部 and the employees `numbers`
// (names 员工<number>, barcodes 100000000000 + number) in department 1.
bool SeedOffice(TestProgramDir& dir, const QStringList& numbers);
