// Speed of the office program's employee list: 10,000 employees with photos.
//
//   bench_manage
//
// Measures the main window's employee list being filled and painted (best
// and median of five) and checks that listing writes no photo file, neither
// into the program directory nor into the records' temporary photo folder. Exits 1 when the
// list takes 300 ms or more or a photo file was written.
#include "manage/frmMain.h"
#include "manage/mdMain.h"
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "shared/base/AppClock.h"
#include "shared/db/clsDbConn.h"
#include "tests/common/TestProgramDir.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kEmployees = 10'000;

QByteArray makePhoto() {
    QImage img(240, 180, QImage::Format_RGB32);
    img.fill(QColor(190, 205, 225));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPEG", 80);
    return bytes;
}

bool fill() {
    QSqlDatabase db = clsDbConn().GetDbConn();
    QSqlQuery q(db);
    if (!db.transaction())
        return false;
    for (int d = 1; d <= 10; ++d) {
        q.prepare(QStringLiteral("INSERT INTO Dept(ID, DNAME) VALUES(?, ?)"));
        q.addBindValue(d);
        q.addBindValue(QStringLiteral("部门%1").arg(d));
        if (!q.exec())
            return false;
    }
    const QByteArray photo = makePhoto();
    q.prepare(QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, HEADIMG, "
                             "ENTERDATE) VALUES(?, ?, ?, ?, ?, ?)"));
    for (int i = 1; i <= kEmployees; ++i) {
        q.bindValue(0, 1 + i % 10);
        q.bindValue(1, QString::number(10'000 + i));
        q.bindValue(2, QString::number(500'000'000'000'000 + i));
        q.bindValue(3, QStringLiteral("员工%1").arg(i));
        q.bindValue(4, photo);
        q.bindValue(5, QStringLiteral("2020-01-01 00:00:00"));
        if (!q.exec()) {
            std::printf("insert failed: %s\n", qPrintable(q.lastError().text()));
            return false;
        }
    }
    return db.commit();
}

// Photo files of records and the folder that holds them: the folder is made
// at the first photo a record writes and stays until the process ends.
int photoTraces(const QString& temp, const QString& programDir) {
    int n = 0;
    QDirIterator folders(temp, {QStringLiteral("attendance-photos-*")}, QDir::Dirs);
    while (folders.hasNext()) {
        folders.next();
        ++n;
    }
    QDirIterator photos(programDir, {QStringLiteral("*.jpg")}, QDir::Files,
                        QDirIterator::Subdirectories);
    while (photos.hasNext()) {
        photos.next();
        ++n;
    }
    return n;
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    // Every temporary file of this process goes into one folder we can count.
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    QApplication app(argc, argv);
    DesktopKit::SetProgramTitle(mdMain::ProgramTitle());
    ChineseUi::Setup(app);

    TestProgramDir dir;
    if (!dir.init() || !fill()) {
        std::printf("set-up failed: %s\n", qPrintable(dir.lastError));
        return 2;
    }

    std::vector<double> runs;
    int rows = 0;
    {
        frmMain w;
        w.resize(640, 480);
        w.show();
        QApplication::processEvents();
        auto* list = w.findChild<QTreeWidget*>(QStringLiteral("lsvData"));
        auto* showEmployees = w.findChild<QAction*>(QStringLiteral("mnuEmpDsp"));
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer t;
            t.start();
            showEmployees->trigger();
            list->viewport()->repaint();
            runs.push_back(t.nsecsElapsed() / 1e6);
        }
        rows = list->topLevelItemCount();
    }
    const int photoFiles = photoTraces(temp.path(), dir.path());
    std::sort(runs.begin(), runs.end());
    std::printf("employee list of %d rows: best %.1f ms, median %.1f ms (goal < 300 ms)\n", rows,
                runs.front(), runs[runs.size() / 2]);
    std::printf("photo files written while listing: %d (goal 0)\n", photoFiles);
    const bool ok = rows == kEmployees && runs[runs.size() / 2] < 300 && photoFiles == 0;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
