#pragma once

#include <QString>

class QApplication;

// Start-up of the office program and what its windows share: the title,
// the version, the home page and the help page.
namespace mdMain {

inline constexpr int VersionMajor = ATTENDANCE_VERSION_MAJOR; // project(VERSION) in CMake
inline constexpr int VersionMinor = ATTENDANCE_VERSION_MINOR;
inline constexpr int VersionRevision = ATTENDANCE_VERSION_PATCH;

// "签到系统管理软件": the main window's caption and the title of message
// boxes shown without one.
QString ProgramTitle();
// The maker's home page (menu entry and About window).
QString HomePage();
// The help page of this program in the program directory, in the
// interface's language.
QString HelpFile();

// The database file must exist; otherwise shows the database message and
// returns false: the program must end.
bool CheckDatabase();
// Hands a file path or a web address to the desktop; the result is ignored.
void OpenDocument(const QString& path);

// The program: title, Chinese user interface, database check, main window.
// Returns the exit status.
int Main(QApplication& app);

} // namespace mdMain
