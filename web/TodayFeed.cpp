#include "web/TodayFeed.h"

#include "shared/base/AppClock.h"
#include "shared/db/clsDbConn.h"
#include "web/ReadOnlyDatabase.h"
#include "web/WebPages.h"

TodayFeed::TodayFeed(bool background, QObject* parent) : QObject(parent), m_background(background) {
    if (!m_background)
        return;
    qRegisterMetaType<TodayFeed::Page>();
    m_worker = new TodayWorker; // moved to the thread, deleted in the destructor
    m_worker->moveToThread(&m_thread);
    connect(m_worker, &TodayWorker::made, this, &TodayFeed::take);
    m_thread.setObjectName(QStringLiteral("today"));
    m_thread.start();
}

TodayFeed::~TodayFeed() {
    if (!m_background)
        return;
    // The thread's connection is closed on that thread.
    QMetaObject::invokeMethod(m_worker, &TodayWorker::close, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

TodayFeed::Page TodayFeed::Make(const QDateTime& now, const QString& unitName, DbError* why) {
    if (!ReadOnlyDatabase::Ensure(why))
        return {};
    Page page;
    page.html = WebPages::Today(now, unitName, why).toUtf8();
    // qCompress puts the length before the zlib stream.
    if (!page.html.isEmpty())
        page.deflated = qCompress(page.html, 6).mid(4);
    return page;
}

TodayFeed::Page TodayFeed::Get(const QDateTime& now, const QString& unitName, DbError* why) {
    const qint64 t = AppClock::msecsSinceEpoch();
    if (!m_background || m_page.html.isEmpty() || m_day != now.date()) {
        const Page page = Make(now, unitName, why);
        if (!page.html.isEmpty())
            take(page, now.date(), t);
        return page;
    }
    if (t - m_madeAt >= kFreshMs && !m_pending) {
        m_pending = true;
        QMetaObject::invokeMethod(m_worker, "make", Qt::QueuedConnection, Q_ARG(QDateTime, now),
                                  Q_ARG(QString, unitName));
    }
    return m_page;
}

void TodayFeed::take(const TodayFeed::Page& page, const QDate& day, qint64 madeAt) {
    m_pending = false;
    if (page.html.isEmpty() || madeAt < m_madeAt)
        return; // a failed read keeps the last page; the next request tries again
    m_page = page;
    m_day = day;
    m_madeAt = madeAt;
}

void TodayWorker::make(const QDateTime& now, const QString& unitName) {
    const qint64 started = AppClock::msecsSinceEpoch();
    DbError why;
    emit made(TodayFeed::Make(now, unitName, &why), now.date(), started);
}

void TodayWorker::close() {
    clsDbConn::CloseShared();
}
