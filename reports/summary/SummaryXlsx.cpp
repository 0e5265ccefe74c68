#include "reports/summary/SummaryXlsx.h"

#include "reports/summary/SummaryReport.h"
#include "shared/attendance/MonthSummary.h"
#include "shared/base/AtomicFile.h"
#include "texts/DayVerdictText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace SummaryXlsx {

namespace {

constexpr int kCounts = 9; // columns D..L

bool fail(Error* error, const QString& message) {
    Error(message).Report(error);
    return false;
}

struct Formats {
    lxw_format* head = nullptr;
    lxw_format* duration = nullptr;
    lxw_format* date = nullptr;
    lxw_format* dateTime = nullptr;
    lxw_format* total = nullptr;
    lxw_format* totalDuration = nullptr;
};

Formats makeFormats(lxw_workbook* book) {
    Formats f;
    f.head = workbook_add_format(book);
    format_set_bold(f.head);
    format_set_text_wrap(f.head);
    format_set_align(f.head, LXW_ALIGN_CENTER);
    f.duration = workbook_add_format(book);
    format_set_num_format(f.duration, "[h]:mm");
    f.date = workbook_add_format(book);
    format_set_num_format(f.date, "yyyy-mm-dd");
    f.dateTime = workbook_add_format(book);
    format_set_num_format(f.dateTime, "yyyy-mm-dd hh:mm");
    f.total = workbook_add_format(book);
    format_set_bold(f.total);
    f.totalDuration = workbook_add_format(book);
    format_set_bold(f.totalDuration);
    format_set_num_format(f.totalDuration, "[h]:mm");
    return f;
}

void text(lxw_worksheet* ws, int row, int col, const QString& s, lxw_format* f = nullptr) {
    worksheet_write_string(ws, row, col, s.toUtf8().constData(), f);
}

// The spreadsheet's day number of a date-time as shown (to the minute).
double serial(const QDateTime& t) {
    static const QDate epoch(1899, 12, 30);
    return epoch.daysTo(t.date()) + (t.time().hour() * 60 + t.time().minute()) / 1440.0;
}

void writeCounts(lxw_worksheet* ws, int row, const SummaryCounts& s, lxw_format* plain,
                 lxw_format* duration) {
    const int values[kCounts - 1] = {s.workingDays,       s.present,    s.lateCount,
                                     s.lateMinutes,       s.earlyCount, s.earlyMinutes,
                                     s.missingDepartures, s.absent};
    for (int i = 0; i < kCounts - 1; ++i)
        worksheet_write_number(ws, row, 3 + i, values[i], plain);
    worksheet_write_number(ws, row, 3 + kCounts - 1, s.workedMinutes / 1440.0, duration);
}

void summarySheet(lxw_workbook* book, const Formats& f, const MonthSummary& m) {
    lxw_worksheet* ws = workbook_add_worksheet(book, "汇总");
    worksheet_set_column(ws, 0, 0, 12, nullptr);
    worksheet_set_column(ws, 1, 1, 14, nullptr);
    worksheet_set_column(ws, 2, 2, 18, nullptr);
    worksheet_set_column(ws, 3, 3 + kCounts - 1, 11, nullptr);
    worksheet_freeze_panes(ws, 1, 0);
    const QStringList headings = SummaryReport::Headings(Translation::Of(UiLanguage::Chinese));
    for (int c = 0; c < headings.size(); ++c)
        text(ws, 0, c, headings[c], f.head);
    int row = 1;
    for (const EmployeeSummary& e : m.employees) {
        text(ws, row, 0, e.number);
        text(ws, row, 1, e.name);
        text(ws, row, 2, e.dept);
        worksheet_write_number(ws, row, 3 + kCounts, e.corrections, nullptr);
        writeCounts(ws, row++, e.counts, nullptr, f.duration);
    }
    // The unit's total as formulas over the employees' rows, with their values.
    text(ws, row, 1, QStringLiteral("单位合计"), f.total);
    const SummaryCounts& u = m.unit;
    const double totals[kCounts] = {
        double(u.workingDays),       double(u.present),    double(u.lateCount),
        double(u.lateMinutes),       double(u.earlyCount), double(u.earlyMinutes),
        double(u.missingDepartures), double(u.absent),     u.workedMinutes / 1440.0};
    for (int i = 0; i < kCounts; ++i) {
        const char column = char('D' + i);
        const QByteArray formula = m.employees.empty() ? QByteArray("=0")
                                                       : QStringLiteral("=SUM(%1%2:%1%3)")
                                                             .arg(QLatin1Char(column))
                                                             .arg(2)
                                                             .arg(row)
                                                             .toLatin1();
        worksheet_write_formula_num(ws, row, 3 + i, formula.constData(),
                                    i == kCounts - 1 ? f.totalDuration : f.total, totals[i]);
    }
    row += 2;
    for (const auto& [dept, counts] : m.departments) {
        text(ws, row, 1, QStringLiteral("部门合计"), f.total);
        text(ws, row, 2, dept.isEmpty() ? QStringLiteral("（无部门）") : dept, f.total);
        writeCounts(ws, row++, counts, f.total, f.totalDuration);
    }
}

void daySheet(lxw_workbook* book, const Formats& f, const MonthSummary& m) {
    lxw_worksheet* ws = workbook_add_worksheet(book, "明细");
    worksheet_set_column(ws, 0, 0, 12, nullptr);
    worksheet_set_column(ws, 1, 1, 14, nullptr);
    worksheet_set_column(ws, 2, 2, 18, nullptr);
    worksheet_set_column(ws, 3, 3, 12, nullptr);
    worksheet_set_column(ws, 4, 5, 17, nullptr);
    worksheet_set_column(ws, 6, 6, 10, nullptr);
    worksheet_set_column(ws, 7, 7, 24, nullptr);
    worksheet_set_column(ws, 8, 8, 6, nullptr);
    worksheet_freeze_panes(ws, 1, 0);
    const QStringList headings = {
        QStringLiteral("编号"),     QStringLiteral("姓名"),     QStringLiteral("部门"),
        QStringLiteral("日期"),     QStringLiteral("到达"),     QStringLiteral("离开"),
        QStringLiteral("工作时长"), QStringLiteral("考勤结果"), QStringLiteral("修正")};
    for (int c = 0; c < headings.size(); ++c)
        text(ws, 0, c, headings[c], f.head);
    // A file others read: its texts are the source texts in every language.
    const Translation sources = Translation::Of(UiLanguage::Chinese);
    const QDate first(m.year, m.month, 1);
    int row = 1;
    for (const EmployeeSummary& e : m.employees) {
        const QByteArray number = e.number.toUtf8(), name = e.name.toUtf8(), dept = e.dept.toUtf8();
        for (int d = 0; d < int(e.days.size()); ++d, ++row) {
            worksheet_write_string(ws, row, 0, number.constData(), nullptr);
            worksheet_write_string(ws, row, 1, name.constData(), nullptr);
            worksheet_write_string(ws, row, 2, dept.constData(), nullptr);
            worksheet_write_number(ws, row, 3, serial(QDateTime(first.addDays(d), QTime(0, 0))),
                                   f.date);
            const DayRecord& r = e.records[d];
            if (r.arrival.isValid())
                worksheet_write_number(ws, row, 4, serial(r.arrival), f.dateTime);
            if (r.departure.isValid())
                worksheet_write_number(ws, row, 5, serial(r.departure), f.dateTime);
            if (e.days[d].present && r.departure.isValid())
                worksheet_write_number(ws, row, 6, e.days[d].workedMinutes / 1440.0, f.duration);
            const QString verdict = DayVerdictText(e.days[d], sources);
            if (!verdict.isEmpty())
                text(ws, row, 7, verdict);
            if (d < int(e.marks.size()) && e.marks[d] != DayMark::None)
                text(ws, row, 8, DayMarkText(e.marks[d], sources));
        }
    }
}

// ".attendance-xlsx-HOST-": a folder of this name and a process id beside
// the output; one whose process is gone was left by a killed run.
QString stagingPrefix() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return QStringLiteral(".attendance-xlsx-%1-").arg(QString::fromLocal8Bit(host));
}

// The private folder (mode 0700) beside the output in which the workbook
// and the writer's temporary files are made, so they share the output's
// file system and $TMPDIR plays no part; removed with what it holds.
class Staging {
public:
    explicit Staging(const QString& out) {
        const QString folder = QFileInfo(out).absolutePath();
        const QString prefix = stagingPrefix();
        for (const QString& name :
             QDir(folder).entryList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden)) {
            bool isNumber = false;
            const qint64 pid = name.mid(prefix.size()).toLongLong(&isNumber);
            if (isNumber && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                QDir(QDir(folder).filePath(name)).removeRecursively();
        }
        const QString path = QDir(folder).filePath(prefix + QString::number(qint64(::getpid())));
        QDir(path).removeRecursively();
        if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
            m_path = path;
        else
            m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;
    ~Staging() {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString error() const { return m_error; }

private:
    QString m_path, m_error;
};

// The creation time of the document properties: SOURCE_DATE_EPOCH when set,
// so the same records give the same bytes; 0 (now) otherwise.
time_t creationTime() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    return ok && epoch > 0 ? time_t(epoch) : time_t(0);
}

} // namespace

bool Write(const MonthSummary& summary, const QString& unitName, const QString& path,
           Error* error) {
    Staging staging(path);
    if (!staging.isValid())
        return fail(error, QStringLiteral("cannot write %1: cannot create a working folder "
                                          "beside it: %2")
                               .arg(path, staging.error()));
    const QByteArray tmp = QFile::encodeName(staging.path());
    const QByteArray built = tmp + "/summary.xlsx";
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go out as they are written
    options.tmpdir = const_cast<char*>(tmp.constData());
    lxw_workbook* book = workbook_new_opt(built.constData(), &options);
    if (!book)
        return fail(error,
                    QStringLiteral("cannot write %1: the spreadsheet cannot be made").arg(path));
    const QByteArray title = QStringLiteral("%1 %2年%3月考勤汇总")
                                 .arg(unitName)
                                 .arg(summary.year)
                                 .arg(summary.month)
                                 .trimmed()
                                 .toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.constData());
    properties.created = creationTime();
    workbook_set_properties(book, &properties);
    const Formats formats = makeFormats(book);
    summarySheet(book, formats, summary);
    daySheet(book, formats, summary);
    errno = 0;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        const int code = errno;
        QString why = QString::fromUtf8(lxw_strerror(closed));
        if (code != 0)
            why += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(code)));
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, why));
    }
    QFile file(QFile::decodeName(built));
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return AtomicFile::WriteWhole(path, file.readAll(), false, error);
}

} // namespace SummaryXlsx
