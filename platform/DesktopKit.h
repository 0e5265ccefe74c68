#pragma once

#include <QString>
#include <functional>

class QFont;
class QLabel;
class QLineEdit;
class QWidget;

// What both desktop programs share beyond message boxes: the program's title,
// the start-up database check, the exchange-command runner, dialog frames and
// password fields.
class DbSession;

namespace DesktopKit {

// The program's title (the station "签到系统", the office program its own),
// set once at start; message boxes without a title show it. It is also the
// application name.
void SetProgramTitle(const QString& title);
QString ProgramTitle();

// Start-up: the database must be there. SQLite: the database file is a
// regular file. PostgreSQL: the server answers, the database holds the
// tables and the login may read and write them (the shared connection is
// then open). On both a database newer than the program, or older and the
// login may not upgrade it, is refused naming both schema versions. An
// unknown engine in the configuration fails too. On failure shows the
// database message and returns false: the program must end.
// `awayButReady`: a server that cannot be reached is no failure when it
// answers true (the station greets from its own copy meanwhile).
bool CheckDatabase(const std::function<bool()>& awayButReady = {});

// The program's help page in the program directory: `baseName`.html, or
// `baseName`-en.html while the interface runs in English.
QString HelpPage(const QString& baseName);

// Runs an exchange-file command and shows its one message: the failure
// message for any failure (an exception included), else the completion
// message, after an import followed by WarnUnknownDepartments.
enum class Exchange { Import, Export };
bool RunExchange(QWidget* parent, DbSession& session, Exchange kind,
                 const std::function<bool()>& operation);
// Warns when employees belong to a department the database does not know
// (an employee file imported without its department file); nothing else.
void WarnUnknownDepartments(QWidget* parent, DbSession& session);

// The title bar of a dialog: no close box (it ends through its buttons), a
// close box, or a close box on a fixed-size frame; never maximise or minimise.
enum class TitleBar { NoCloseBox, CloseBox, FixedWithCloseBox };
void SetTitleBar(QWidget* dialog, TitleBar bar);

// A password entry: "*" for every character and no input method, which
// would show the text.
void MakePasswordField(QLineEdit* field);

// Gives the keyboard to `widget`: activates its window and focuses it. Also
// when the toolkit believes the window active already: without a window
// manager the X server may have handed the focus to the root window.
void TakeKeyboardFocus(QWidget* widget);

// Sets a label's text in `font` when the text fits the label, else in the
// largest smaller size (down to a few points) at which it fits, so nothing
// is cut off. A word-wrapped label must fit it in height too, a one-line
// label in width.
void SetFittedText(QLabel* label, const QString& text, const QFont& font);

} // namespace DesktopKit
