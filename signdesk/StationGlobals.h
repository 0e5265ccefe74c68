#pragma once

#include <QString>
#include <functional>

class QWidget;
class frmMain;

// The station's main window, created at start-up; null before and after.
extern frmMain* gfrmMain;

namespace Station {

// The program's version, shown as "Ver2.00" and "版本 2.0.0".
inline constexpr int VersionMajor = 2;
inline constexpr int VersionMinor = 0;
inline constexpr int VersionRevision = 0;

// "签到系统": application name, settings store name, default message title.
QString ProgramTitle();
// Major "." minor and revision, each decimal: "2.00".
QString VersionText();
// The maker's home page (menu entry and About window).
QString HomePage();

// Start-up step 1: the database file must be a regular file. Otherwise shows
// the database message and returns false: the program must end.
bool CheckDatabaseFile();
// Start-up step 2: shows the unit-name dialog when no unit name is set.
void AskUnitNameIfMissing();

// Runs an exchange-file command and shows its one message: the failure
// message for any failure (an exception included), else the completion message.
enum class Exchange { Import, Export };
bool RunExchange(QWidget* parent, Exchange kind, const std::function<bool()>& operation);

} // namespace Station
