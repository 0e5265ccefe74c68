#pragma once

#include <QString>

class frmMain;

// The station's main window, created at start-up; null before and after.
extern frmMain* gfrmMain;

namespace Station {

// The program's version, shown as "Ver2.00" and "版本 2.0.0".
inline constexpr int VersionMajor = ATTENDANCE_VERSION_MAJOR; // project(VERSION) in CMake
inline constexpr int VersionMinor = ATTENDANCE_VERSION_MINOR;
inline constexpr int VersionRevision = ATTENDANCE_VERSION_PATCH;

// "签到系统": the program title and idle-screen caption, in the user's language.
QString ProgramTitle();
// "签到系统" in every language: the name of the user's settings store.
QString SettingsName();
// Major "." minor and revision, each decimal: "2.00".
QString VersionText();
// The maker's home page (menu entry and About window).
QString HomePage();

// Whether the station sounds its scans: [OTHER] SOUND, on unless "0".
bool SoundsOn();

// Whether the station may start while its server cannot be reached: a
// server site whose station holds a filled copy of the employees.
bool CanStartFromCopy();

// Start-up step 2 (after DesktopKit::CheckDatabase): shows the unit-name dialog when no unit
// name is set.
void AskUnitNameIfMissing();

} // namespace Station
