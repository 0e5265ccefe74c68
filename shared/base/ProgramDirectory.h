#pragma once

#include <QString>

// The program directory: the folder of the running executable, where
// "attendance.ini" lives. Tests point it at a temporary folder.
QString ProgramDirectory();
void SetProgramDirectory(const QString& dir); // empty restores the default

// The folder of "attendance.ini": the program directory, except in a build
// made for the Debian packages (ATTENDANCE_CONFIG_DIR, "/etc/attendance"),
// whose programs live in a folder nobody writes to. A directory given by
// SetProgramDirectory (a test, attendance-admin --dir) holds it in either.
QString ConfigurationDirectory();

// Joins a directory and a file name the way stored paths expect: a stored
// directory may use backslashes (written on another system); they become '/'.
QString JoinPath(const QString& dir, const QString& name);
