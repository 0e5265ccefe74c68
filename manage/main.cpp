#include "AppClock.h"
#include "mdMain.h"

#include <QApplication>

// The office program: database check, then the main window with the
// employee list.
int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QApplication app(argc, argv);
    return mdMain::Main(app);
}
