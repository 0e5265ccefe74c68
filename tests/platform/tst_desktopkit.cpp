// The desktop kit shared by both programs: real message boxes and file
// dialogs when no test handler is installed, the program title, fonts and
// translations, the start-up check and the exchange-command runner.
#include "platform/DesktopKit.h"
#include "shared/db/DbSchema.h"
#include "shared/db/DbSession.h"
#include "shared/db/clsDbConn.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"

#include "platform/ChineseUi.h"
#include "platform/DeferredIconStyle.h"
#include "platform/FileDialog.h"
#include "platform/InputBox.h"
#include "platform/MsgBox.h"
#include "platform/PlainHeaderView.h"
#include "report/ReportFonts.h"

#include <QtTest>
#include <QtWidgets>
#include <stdexcept>

class tst_DesktopKit : public QObject {
    Q_OBJECT

    BoxLog boxes;

private slots:
    void initTestCase() { DesktopKit::SetProgramTitle(QStringLiteral("人事管理")); }
    void init() { boxes.clear(); }

    // Real boxes: the program title set at start when none is given, the
    // icon, Chinese buttons.
    void realMessageBoxes() {
        MsgBox::Seam::Override real(nullptr);
        QString seen; // title, icon number, button texts
        const auto ask = [&seen](const QString& title, MsgBox::Icon icon, MsgBox::Buttons buttons,
                                 const QString& press) {
            OnNextModal([&seen, press](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                QAbstractButton* chosen = nullptr;
                seen = box->windowTitle() + QString::number(box->icon());
                for (QAbstractButton* b : box->buttons()) {
                    seen += QLatin1Char('|') + b->text();
                    chosen = b->text() == press ? b : chosen;
                }
                chosen->click();
            });
            return MsgBox::ShowMessage(nullptr, QStringLiteral("x"), title, icon, buttons);
        };
        using enum MsgBox::Icon;
        QCOMPARE(ask({}, Exclamation, MsgBox::Buttons::Ok, "确定"), MsgBox::Result::Ok);
        QCOMPARE(seen, QStringLiteral("人事管理%1|确定").arg(QMessageBox::Warning));
        QCOMPARE(ask("询问", Question, MsgBox::Buttons::YesNo, "否"), MsgBox::Result::No);
        QCOMPARE(seen, QStringLiteral("询问%1|是|否").arg(QMessageBox::Question));
        QCOMPARE(ask("询问", Question, MsgBox::Buttons::YesNo, "是"), MsgBox::Result::Yes);
    }

    // A box given a time closes by itself then, not before, answering as its
    // Escape key: Ok, or No for a question. Keys the hook takes past that time
    // hold it open (a card being scanned into it is not cut off); once they
    // stop, it closes by itself.
    void messageBoxClosesItself() {
        MsgBox::Seam::Override real(nullptr);
        const int afterMs = 300;
        using MsgBox::Buttons::Ok, MsgBox::Buttons::YesNo;
        // The buttons, the answer, whether keys are typed past the time.
        for (const auto& [buttons, answer, typing] : {std::tuple{Ok, MsgBox::Result::Ok, false},
                                                      {YesNo, MsgBox::Result::No, false},
                                                      {Ok, MsgBox::Result::Ok, true}}) {
            QElapsedTimer clock; // started before the box's own time
            int taken = 0;
            MsgBox::KeyHook hook;
            if (typing)
                hook = [&taken](const QKeyEvent&) { return ++taken, MsgBox::KeyAction::Take; };
            bool upInTime = false; // before its time, or while typing past it
            bool closedItself = false;
            // Structured bindings are copied in: clang 14 cannot capture them.
            OnNextModal([&, typing = typing](QWidget* box) {
                QTest::qWait(qMax<int>(0, afterMs - 100 - int(clock.elapsed())));
                while (typing && box->isVisible() && clock.elapsed() < afterMs + 400) {
                    QTest::keyClick(box->windowHandle(), Qt::Key_1);
                    QTest::qWait(50);
                }
                upInTime = box->isVisible() && (typing || clock.elapsed() < afterMs);
                closedItself = QTest::qWaitFor([box] { return !box->isVisible(); }, 5000);
                box->close();
            });
            clock.start();
            QCOMPARE(MsgBox::ShowMessage(nullptr, "x", "t", MsgBox::Icon::Exclamation, buttons,
                                         {afterMs, hook}),
                     answer);
            QVERIFY(upInTime && closedItself);
            QVERIFY(clock.elapsed() >= afterMs && taken >= (typing ? 5 : 0));
        }
    }

    // A key hook sees every key the box's window receives before the box: a key
    // it takes never reaches the box (not Tab, which would move the focus from
    // 是 to 否, nor Enter), one it passes acts as usual, and it may close the
    // box, which then answers as its Escape key.
    void messageBoxKeyHook() {
        MsgBox::Seam::Override real(nullptr);
        using MsgBox::Buttons::Ok, MsgBox::Buttons::YesNo, MsgBox::Result::Yes, MsgBox::Result::No;
        // The box has the focus, then 是 after one Tab, 否 after two.
        const QList<int> tabEnter{Qt::Key_1, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return};
        // The buttons, the keys the hook takes ("C" closes), the keys typed,
        // those the hook saw, the answer: Tab taken, Tab passed, closed (a
        // question), Enter taken then closed, Escape passed.
        const std::tuple<MsgBox::Buttons, QString, QList<int>, QString, MsgBox::Result> cases[] = {
            {YesNo, "1 Tab", tabEnter, "1 Tab Tab Return", Yes},
            {YesNo, "1", tabEnter, "1 Tab Tab Return", No},
            {YesNo, "", {Qt::Key_C}, "C", No},
            {Ok,
             "Return",
             {Qt::Key_Return, Qt::Key_Return, Qt::Key_C},
             "Return Return C",
             MsgBox::Result::Ok},
            {Ok, "", {Qt::Key_Escape}, "Esc", MsgBox::Result::Ok}};
        for (const auto& [buttons, taken, keys, seen, answer] : cases) {
            QStringList hooked;
            const MsgBox::KeyHook hook = [&hooked, taken = taken](const QKeyEvent& key) {
                const QString name = QKeySequence(key.key()).toString();
                hooked << name;
                if (name == QLatin1String("C"))
                    return MsgBox::KeyAction::Close;
                return taken.split(' ').contains(name) ? MsgBox::KeyAction::Take
                                                       : MsgBox::KeyAction::Pass;
            };
            OnNextModal([keys = keys](QWidget* box) {
                // Typed once the box is active, so the keys start from the focus
                // a user's keys meet, not from one that activation then moves.
                QVERIFY(QTest::qWaitForWindowActive(box));
                for (const int key : keys)
                    if (box->isVisible())
                        QTest::keyClick(box->windowHandle(), Qt::Key(key));
            });
            QCOMPARE(
                MsgBox::ShowMessage(nullptr, "x", "t", MsgBox::Icon::Question, buttons, {0, hook}),
                answer);
            QCOMPARE(hooked.join(' '), seen);
        }
    }

    // Without a handler each kind opens dlgCommonDialog in its own mode; saving
    // asks no overwrite question (the callers refuse or replace files themselves).
    void realFileDialogs() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.xml"));
        QVERIFY(writeFile(file, "x"));
        const QString filter = QStringLiteral("XML文件 (*.xml)");
        const QString title = QStringLiteral("设定导出文件");
        const std::pair<std::function<QStringList()>, QString> kinds[] = {
            {[&] { return QStringList{FileDialog::SaveFile(nullptr, title, filter)}; }, "1 0 1"},
            {[&] { return QStringList{FileDialog::OpenFile(nullptr, title, filter, dir.path())}; },
             "0 1 0"},
            {[&] { return FileDialog::OpenFiles(nullptr, title, filter, dir.path()); }, "0 3 0"}};
        for (const auto& [call, modes] : kinds) {
            QString seen; // accept mode, file mode, no overwrite question; then the title
            OnNextModal([&](QWidget* w) {
                auto* d = qobject_cast<QFileDialog*>(w);
                QVERIFY(d && d->objectName() == QLatin1String("dlgCommonDialog"));
                seen = QStringLiteral("%1 %2 %3 ")
                           .arg(d->acceptMode())
                           .arg(d->fileMode())
                           .arg(d->testOption(QFileDialog::DontConfirmOverwrite)) +
                       d->windowTitle();
                // The name is typed into the focused name box, as a user does:
                // selectFile() leaves that box alone while it has the focus, and
                // the dialog then refuses to close with nothing chosen.
                QVERIFY(QTest::qWaitForWindowActive(d));
                auto* name = child<QLineEdit>(d, "fileNameEdit");
                QVERIFY(name->hasFocus());
                name->setText(file);
                QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
            });
            QCOMPARE(call(), QStringList{file});
            QCOMPARE(seen, modes + QLatin1Char(' ') + title);
        }
        OnNextModal(
            [](QWidget* w) { QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection); });
        QVERIFY(FileDialog::OpenFile(nullptr, title, filter, dir.path()).isNull());
    }

    void realInputBox() {
        OnNextModal([](QWidget* w) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("dlgInputBox"));
            QCOMPARE(dialog->textValue(), QStringLiteral("旧"));
            dialog->setTextValue(QStringLiteral("新"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(InputBox::GetText(nullptr, "t", "p", "旧"), std::optional<QString>("新"));
    }

    void chineseFontsAndTranslations() {
        ReportFonts::InstallSubstitutions();
        const QStringList chinese = {"AR PL UMing CN", "AR PL UKai CN", "WenQuanYi Zen Hei"};
        for (const char* face : {"宋体", "黑体", "楷体_GB2312", "仿宋_GB2312", "隶书"}) {
            const QString family = QFontInfo(QFont(QString::fromUtf8(face), 12)).family();
            QVERIFY2(chinese.contains(family),
                     qPrintable(QString::fromUtf8(face) + " -> " + family));
        }
        QVERIFY(ChineseUi::LoadTranslations(*qApp));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

        // Qt's file dialog: a folder's type and the modification times in Chinese.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QString type, modified, expected;
        OnNextModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            auto* list = child<QTreeView>(d, "treeView");
            QTRY_VERIFY(list->model()->rowCount(list->rootIndex()) == 1);
            const QModelIndex sub = list->model()->index(0, 0, list->rootIndex());
            type = sub.siblingAtColumn(2).data().toString();
            modified = sub.siblingAtColumn(3).data().toString();
            expected = QLocale().toString(QFileInfo(dir.filePath("sub")).lastModified(),
                                          QLocale::ShortFormat);
            QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
        });
        FileDialog::OpenFile(nullptr, QStringLiteral("打开"), QStringLiteral("全部 (*)"),
                             dir.path(), QFileDialog::DontUseNativeDialog);
        QLocale::setDefault(before);
        QCOMPARE(type, QStringLiteral("文件夹"));
        QCOMPARE(modified, expected);
        QVERIFY2(modified.contains(QDate::currentDate().toString("yyyy/M/d")),
                 qPrintable(modified));
    }

    // A good database passes quietly; each fault is one message (its text and
    // an unknown engine: tst_mainwindow startUpRefusesMissingDatabase).
    void startupDatabaseCheck() {
        TestProgramDir fx;
        QVERIFY2(fx.init(), qPrintable(fx.lastError));
        QVERIFY(DesktopKit::CheckDatabase());
        QVERIFY(boxes.isEmpty());
        if (TestProgramDir::OnServer()) {
            // A database that lacks a table (the connection faults: tst_records):
            // a refusal, also for a station that could start from its copy.
            const auto ready = [] { return true; };
            QVERIFY(fx.exec(QStringLiteral("DROP TABLE Presence")));
            QVERIFY(!DesktopKit::CheckDatabase(ready));
            QCOMPARE(boxes.size(), 1);
            // A server out of reach: a refusal, unless the station is ready without it.
            clsDbConn::CloseShared();
            QVERIFY(fx.setIni("ATTENDANCE", "DBSERVER", fx.server()->host() + ":1"));
            QVERIFY(!DesktopKit::CheckDatabase([] { return false; }));
            QCOMPARE(boxes.size(), 2);
            QVERIFY(DesktopKit::CheckDatabase(ready));
            QCOMPARE(boxes.size(), 2);
            return;
        }
        // A folder without the database file, a folder named like it, no PATH at all.
        QTemporaryDir empty;
        QVERIFY(fx.setIni("DATA", "PATH", empty.path()));
        QVERIFY(!DesktopKit::CheckDatabase());
        QVERIFY(QDir(empty.path()).mkdir(QStringLiteral("vorerur.dat")));
        QVERIFY(!DesktopKit::CheckDatabase());
        QVERIFY(fx.setIni("DATA", "PATH", QString()));
        QVERIFY(!DesktopKit::CheckDatabase());
        QCOMPARE(boxes.size(), 3);
    }

    // A database newer than the program: the start-up check refuses it in
    // Chinese, naming both schema versions, and ends the program (an older
    // one this login may not upgrade, refused alike: tst_schema).
    void startupRefusesNewerDatabase() {
        TestProgramDir fx;
        QVERIFY2(fx.init(), qPrintable(fx.lastError));
        QVERIFY(fx.exec("INSERT INTO SchemaVersion VALUES (?, '2027-01-01 00:00:00', 'later')",
                        {DbSchema::Latest + 1}));
        clsDbConn::CloseShared();
        QVERIFY(!DesktopKit::CheckDatabase([] { return true; }));
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.lines().contains(QStringLiteral("数据库的结构版本（%1）比本程序的（%2）新")
                                            .arg(DbSchema::Latest + 1)
                                            .arg(DbSchema::Latest)),
                 qPrintable(boxes.lines()));
    }

    // A text too wide (or, wrapped, too tall) for its label gets the largest
    // size in 0.25 pt steps at which it fits: on every width around the
    // boundaries, the size a step-by-step search from the documented size
    // down to 6 pt chooses. A text that fits keeps the documented size; one
    // that fits at no size gets 6 pt.
    void fittedTextSize() {
        ReportFonts::InstallSubstitutions();
        const auto fits = [](const QLabel& label, const QString& text, const QFont& font) {
            const QRectF room = label.contentsRect();
            const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
            const QRectF needed = QFontMetricsF(font).boundingRect(room, flags, text);
            return needed.width() <= room.width() + 0.5 &&
                   (!label.wordWrap() || needed.height() <= room.height() + 0.5);
        };
        const auto stepwise = [&](const QLabel& label, const QString& text, QFont font) {
            for (qreal points = font.pointSizeF(); points - 0.25 >= 6 && !fits(label, text, font);)
                font.setPointSizeF(points -= 0.25);
            return font.pointSizeF();
        };
        QFont song(QStringLiteral("宋体"));
        song.setPointSizeF(21.75);
        song.setBold(true);
        int shrunk = 0, kept = 0, smallest = 0;
        for (const bool wrap : {false, true}) {
            QLabel label;
            label.setWordWrap(wrap);
            label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            const QString text = wrap ? QStringLiteral("上班喽\r\n轻松点\r\n快乐点")
                                      : QStringLiteral("北京市第一百零一中学");
            for (int width = 10; width <= 320; width += 3) {
                label.resize(width, wrap ? 90 : 20);
                DesktopKit::SetFittedText(&label, text, song);
                const qreal chosen = label.font().pointSizeF();
                QVERIFY2(qFuzzyCompare(chosen, stepwise(label, text, song)),
                         qPrintable(QStringLiteral("width %1: %2 pt").arg(width).arg(chosen)));
                QCOMPARE(label.text(), text);
                QCOMPARE(label.font().bold(), true);
                ++(chosen == 21.75 ? kept : chosen == 6 ? smallest : shrunk);
            }
        }
        // Every kind of outcome was met, so the widths crossed the boundaries.
        QVERIFY(kept > 0 && shrunk > 20 && smallest > 0);
    }

    // The plain header measures a section as QHeaderView does, in its own
    // font rather than a bold copy: the same height, no wider; in a bold
    // font, or with sections highlighted (painted bold), exactly the same.
    // Installed, it keeps the header's settings.
    void plainHeaderSizes() {
        ReportFonts::InstallSubstitutions();
        QStandardItemModel model(0, 3);
        model.setHorizontalHeaderLabels(
            {QStringLiteral("员工号"), QStringLiteral("Name"), QStringLiteral("签到时间 9:00")});
        QTreeView view;
        view.header()->setSectionsMovable(false);
        view.header()->setDefaultAlignment(Qt::AlignCenter);
        QPointer<QHeaderView> stock = view.header();
        PlainHeaderView* plain = PlainHeaderView::Install(&view);
        QVERIFY(stock.isNull() && view.header() == plain);
        QVERIFY(!plain->sectionsMovable() && plain->stretchLastSection());
        QCOMPARE(plain->defaultAlignment(), Qt::AlignCenter);
        view.setModel(&model);
        QHeaderView reference(Qt::Horizontal);
        reference.setModel(&model);
        for (const bool bold : {false, true}) {
            QFont font = plain->font();
            font.setBold(bold);
            plain->setFont(font);
            reference.setFont(font);
            for (int section = 0; section < model.columnCount(); ++section) {
                const int mine = plain->sectionSizeHint(section);
                const int qts = reference.sectionSizeHint(section);
                QVERIFY2(bold ? mine == qts : mine <= qts && mine > 0,
                         qPrintable(QStringLiteral("section %1: %2 against %3")
                                        .arg(section)
                                        .arg(mine)
                                        .arg(qts)));
            }
            QCOMPARE(plain->sizeHint().height(), reference.sizeHint().height());
        }
        plain->setFont(QFont());
        plain->setHighlightSections(true);
        reference.setFont(QFont());
        for (int section = 0; section < model.columnCount(); ++section)
            QCOMPARE(plain->sectionSizeHint(section), reference.sectionSizeHint(section));
    }

    // The programs' style: the same extension icon on a menu bar too narrow
    // for its menus, every other icon the base style's, the chosen style kept.
    void deferredExtensionIcons() {
        const QString chosen = QApplication::style()->name();
        const auto image = [](QStyle::StandardPixmap which, int size) {
            return QApplication::style()->standardIcon(which).pixmap(size).toImage();
        };
        const QStyle::StandardPixmap kinds[] = {QStyle::SP_ToolBarHorizontalExtensionButton,
                                                QStyle::SP_ToolBarVerticalExtensionButton,
                                                QStyle::SP_MessageBoxWarning};
        QList<QImage> before;
        for (const auto which : kinds)
            before << image(which, 16) << image(which, 32);
        DeferredIconStyle::Install();
        auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
        QVERIFY(proxy);
        QCOMPARE(proxy->baseStyle()->name().toLower(), chosen.toLower());
        QList<QImage> after;
        for (const auto which : kinds)
            after << image(which, 16) << image(which, 32);
        for (int k = 0; k < before.size(); ++k) {
            QVERIFY(!before[k].isNull());
            QCOMPARE(after[k], before[k]);
        }
        // An icon copied before it is drawn is still drawn whole.
        QIcon copy =
            QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        QVERIFY(!copy.isNull());
        QIcon second = copy;
        second.detach();
        QCOMPARE(second.pixmap(16).toImage(), before[0]);

        QMainWindow window;
        for (int k = 0; k < 8; ++k)
            window.menuBar()->addMenu(QStringLiteral("菜单%1").arg(k));
        window.resize(120, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* more =
            window.menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        QVERIFY(more && more->isVisible());
        QCOMPARE(more->icon().pixmap(16).toImage(), before[0]);
        QVERIFY(!more->grab().isNull());
    }

    // One message per command; an exception is a failure like any other.
    void exchangeOutcome() {
        using DesktopKit::Exchange;
        DbSession none; // no database: nothing to warn of
        QVERIFY(DesktopKit::RunExchange(nullptr, none, Exchange::Import, [] { return true; }));
        QVERIFY(!DesktopKit::RunExchange(nullptr, none, Exchange::Export, [] { return false; }));
        QVERIFY(!DesktopKit::RunExchange(nullptr, none, Exchange::Import,
                                         []() -> bool { throw std::runtime_error("disk"); }));
        QCOMPARE(boxes.lines(), box("信息", "数据导入完成！", MsgBox::Icon::Information) +
                                    box("错误", "导出数据失败！") + box("错误", "导入数据失败！"));
        // After an import, employees of an unknown department are named.
        TestProgramDir fx;
        QVERIFY(fx.init() && fx.addEmployee("7", "n", "7", 9));
        QVERIFY(
            DesktopKit::RunExchange(nullptr, fx.session(), Exchange::Import, [] { return true; }));
        QVERIFY(boxes.lines().contains(QStringLiteral("有1名员工所属的部门不存在（员工号：7）")));
    }
};

QTEST_MAIN(tst_DesktopKit)
#include "tst_desktopkit.moc"
