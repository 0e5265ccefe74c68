#pragma once

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

// What both desktop programs share beyond message boxes: the program's title,
// the start-up database check, the exchange-command runner, dialog frames and
// password fields.
namespace DesktopKit {

// The program's title (the station "签到系统", the office program its own),
// set once at start; message boxes without a title show it. It is also the
// application name.
void SetProgramTitle(const QString& title);
QString ProgramTitle();

// Start-up: the database file must be a regular file. Otherwise shows the
// database message and returns false: the program must end.
bool CheckDatabaseFile();

// Runs an exchange-file command and shows its one message: the failure
// message for any failure (an exception included), else the completion message.
enum class Exchange { Import, Export };
bool RunExchange(QWidget* parent, Exchange kind, const std::function<bool()>& operation);

// The title bar of a dialog: no close box (it ends through its buttons), a
// close box, or a close box on a fixed-size frame; never maximise or minimise.
enum class TitleBar { NoCloseBox, CloseBox, FixedWithCloseBox };
void SetTitleBar(QWidget* dialog, TitleBar bar);

// A password entry: hidden text and no input method, which would show it.
void MakePasswordField(QLineEdit* field);

} // namespace DesktopKit
