#pragma once

#include "tests/common/TestProgramDir.h"

#include <QStringList>

// attendance-admin as the tool tests run it: the program beside the test.
namespace AdminTool {
QString Path();
ToolRun Run(const QStringList& args);
// Runs a command that must succeed; its standard error is shown when not.
bool Runs(const QStringList& args);
// Runs a command that must fail (exit code 1) saying so, naming each of `says`.
bool Fails(const QStringList& args, const QStringList& says = {});
// Runs a command given arguments it cannot take: exit code 2, naming each of `says`.
bool Misuses(const QStringList& args, const QStringList& says = {});
// Runs `statements` on a database file as another program would: without the
// tool's checks and upgrade of its schema. False when one fails.
bool ChangeFile(const QString& dbFile, const QStringList& statements);
} // namespace AdminTool
