// attendance-admin: sets up a program directory and runs the exchange-file
// commands from scripts. Works on the "attendance.ini" of the program
// directory, like the two programs.
#include "report/ReportFonts.h"
#include "report/ReportPainter.h"
#include "shared/base/AppClock.h"
#include "shared/base/AtomicFile.h"
#include "tools/admin/AdminCommands.h"

#include <QGuiApplication>
#include <memory>

namespace {

// The offscreen platform complains about a missing runtime folder it never
// uses; that line would read like an error of the command.
void messageFilter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // Only drawing (the demo photos, the reports) takes the GUI library; it
    // never shows a window, so it runs offscreen unless told otherwise. The
    // reports' Windows face names resolve to the faces the programs use.
    std::unique_ptr<QCoreApplication> app;
    if (AdminCommands::NeedsGui(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(messageFilter);
        app = std::make_unique<QGuiApplication>(argc, argv);
        ReportFonts::InstallSubstitutions();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("attendance-admin"));

    // PDF files appear under their name only when complete, as the exchange
    // files do: a killed or failed run leaves nothing.
    ReportPainter::SetFileWriter(AtomicFile::WriteWhole);

    QTextStream out(stdout);
    QTextStream err(stderr);
    return AdminCommands::Run(QCoreApplication::arguments(), out, err);
}
