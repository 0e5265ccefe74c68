#include "manage/mdMain.h"
#include "shared/base/AppClock.h"

#include <QApplication>

// The office program: database check, then the main window with the
// employee list.
int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QApplication app(argc, argv);
    return mdMain::Main(app);
}
