#include "tools/admin/CommandRegistry.h"

#include "tools/admin/commands/BackupMonthCommand.h"
#include "tools/admin/commands/CalendarExportCommand.h"
#include "tools/admin/commands/CalendarImportCommand.h"
#include "tools/admin/commands/CheckCommand.h"
#include "tools/admin/commands/CloseMonthCommand.h"
#include "tools/admin/commands/CorrectCommand.h"
#include "tools/admin/commands/DumpCommand.h"
#include "tools/admin/commands/ExportDepartmentsCommand.h"
#include "tools/admin/commands/ExportEmployeesCommand.h"
#include "tools/admin/commands/ExportMonthCommand.h"
#include "tools/admin/commands/ImportDepartmentsCommand.h"
#include "tools/admin/commands/ImportEmployeesCommand.h"
#include "tools/admin/commands/InitProgramDirectoryCommand.h"
#include "tools/admin/commands/MigrateCommand.h"
#include "tools/admin/commands/PrintCardsCommand.h"
#include "tools/admin/commands/ReopenMonthCommand.h"
#include "tools/admin/commands/ReplayJournalCommand.h"
#include "tools/admin/commands/ReportMonthCommand.h"
#include "tools/admin/commands/ReportSummaryCommand.h"
#include "tools/admin/commands/ScheduleExportCommand.h"
#include "tools/admin/commands/ScheduleImportCommand.h"
#include "tools/admin/commands/SetAdminPasswordCommand.h"
#include "tools/admin/commands/TrailCommand.h"
#include "tools/admin/commands/WebPasswordCommand.h"

namespace CommandRegistry {

namespace {

template <class... Commands> std::vector<std::unique_ptr<const AdminCommand>> make() {
    std::vector<std::unique_ptr<const AdminCommand>> all;
    (all.push_back(std::make_unique<const Commands>()), ...);
    return all;
}

} // namespace

const std::vector<std::unique_ptr<const AdminCommand>>& All() {
    static const auto all = make<
        // Setting up and checking a program directory.
        InitProgramDirectoryCommand, MigrateCommand, CheckCommand, ReplayJournalCommand,
        // The exchange files.
        ExportEmployeesCommand, ExportDepartmentsCommand, ImportEmployeesCommand,
        ImportDepartmentsCommand, BackupMonthCommand, ExportMonthCommand,
        // The reports and cards; dump prints any exchange file.
        ReportMonthCommand, ReportSummaryCommand, PrintCardsCommand, DumpCommand,
        // The attendance rules' files.
        ScheduleExportCommand, ScheduleImportCommand, CalendarExportCommand, CalendarImportCommand,
        // The corrections and closing of months.
        CorrectCommand, TrailCommand, CloseMonthCommand, ReopenMonthCommand,
        SetAdminPasswordCommand,
        // The web pages' password.
        WebPasswordCommand>();
    return all;
}

const AdminCommand* Named(const QString& name) {
    for (const auto& command : All())
        if (command->Spec().name == name)
            return command.get();
    return nullptr;
}

} // namespace CommandRegistry
