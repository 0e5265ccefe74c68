#include "tools/admin/commands/DumpCommand.h"

#include "shared/rowset/RowSetXml.h"
#include "tools/admin/RowSetDump.h"

DumpCommand::DumpCommand()
    : AdminCommand({.name = QStringLiteral("dump"),
                    .synopsis = QStringLiteral("FILE"),
                    .summary = QStringLiteral(
                        "Prints a row-set XML file as a table: columns, then rows; binary\n"
                        "values as their byte count and SHA-256."),
                    .minArgs = 1,
                    .maxArgs = 1}) {}

int DumpCommand::Run(Admin::Context& c) const {
    RowSet rs;
    Error error;
    if (!RowSetXml::Load(c.args[0], &rs, &error))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot read %1: %2").arg(c.args[0], error.Text()));
    c.out << c.args[0] << Qt::endl;
    RowSetDump::Write(rs, c.out);
    c.out.flush();
    return Admin::Success;
}
