// attendance-admin's usage texts against what its commands accept: the
// overall list and each command's own usage are built from the commands'
// declarations, so a command missing from the list, listed twice, or naming
// an option it does not take is a fault of a declaration.
#include "tests/tools/helpers/AdminTool.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

class tst_usage : public QObject {
    Q_OBJECT

private:
    // The command names of --help's list, in its order, and each one's usage.
    QStringList m_names;
    QMap<QString, QString> m_usage;

private slots:
    void initTestCase() {
        const ToolRun help = AdminTool::Run({"--help"});
        QCOMPARE(help.code, 0);
        // "  NAME SYNOPSIS"; a synopsis of two lines goes on further indented.
        static const QRegularExpression entry(QStringLiteral("^  ([a-z][a-z-]*)"),
                                              QRegularExpression::MultilineOption);
        for (auto it = entry.globalMatch(QString::fromUtf8(help.out)); it.hasNext();)
            m_names << it.next().captured(1);
        QVERIFY2(m_names.size() > 20, help.out.constData());
        for (const QString& name : m_names) {
            const ToolRun usage = AdminTool::Run({name, "--help"});
            QCOMPARE(usage.code, 0);
            m_usage[name] = QString::fromUtf8(usage.out);
        }
    }

    // Each command is listed once and describes itself under its own name.
    void everyCommandListedOnce() {
        QCOMPARE(QSet<QString>(m_names.begin(), m_names.end()).size(), m_names.size());
        for (const QString& name : m_names) {
            const QString& text = m_usage[name];
            static const QRegularExpression head(QStringLiteral("^usage: attendance-admin (\\S+)"));
            QCOMPARE(head.match(text).captured(1), name);
        }
    }

    // Every option a command's usage names (synopsis, description, option
    // list, notes) is one that command's command line takes: given all with a
    // value and --help, the command prints its usage instead of "Unknown
    // option". One name that is not an option shows that such a slip is caught.
    void everyNamedOptionAccepted() {
        static const QRegularExpression option(QStringLiteral("--([a-z][a-z-]*)"));
        int checked = 0;
        for (const QString& name : m_names) {
            QSet<QString> named;
            for (auto it = option.globalMatch(m_usage.value(name)); it.hasNext();)
                named << it.next().captured(1);
            QStringList args{name};
            for (const QString& o : named)
                args << "--" + o << QStringLiteral("x");
            const ToolRun r = AdminTool::Run(args << QStringLiteral("--help"));
            QVERIFY2(r.code == 0, qPrintable(args.join(u' ') + ": " + r.err));
            checked += named.size();
        }
        QVERIFY(checked > 40);
        QVERIFY(AdminTool::Misuses({"trail", "--reason", "x", "--help"}, {"Unknown option"}));
    }
};

QTEST_GUILESS_MAIN(tst_usage)
#include "tst_usage.moc"
