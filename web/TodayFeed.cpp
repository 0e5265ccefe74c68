#include "web/TodayFeed.h"

#include "session/MainSession.h"
#include "shared/base/AppClock.h"
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

TodayFeed::Page TodayFeed::Make(const QDateTime& now, const QString& unitName,
                                const Translation& language, Error* why) {
    if (!ReadOnlyDatabase::Ensure(why))
        return {};
    Page page;
    page.html = WebPages::Today(MainSession::Get(), now, unitName, language, why).toUtf8();
    // qCompress puts the length before the zlib stream.
    if (!page.html.isEmpty())
        page.deflated = qCompress(page.html, 6).mid(4);
    return page;
}

TodayFeed::Page TodayFeed::Get(const QDateTime& now, const QString& unitName,
                               const Translation& language, int slot, Error* why) {
    const qint64 t = AppClock::msecsSinceEpoch();
    Kept& kept = m_kept[slot];
    if (!m_background || kept.page.html.isEmpty() || kept.day != now.date()) {
        const Page page = Make(now, unitName, language, why);
        if (!page.html.isEmpty())
            take(page, now.date(), t, slot);
        return page;
    }
    if (t - kept.madeAt >= kFreshMs && !kept.pending) {
        kept.pending = true;
        QMetaObject::invokeMethod(
            m_worker,
            [worker = m_worker, now, unitName, language, slot] {
                worker->make(now, unitName, language, slot);
            },
            Qt::QueuedConnection);
    }
    return kept.page;
}

void TodayFeed::take(const TodayFeed::Page& page, const QDate& day, qint64 madeAt, int slot) {
    Kept& kept = m_kept[slot];
    kept.pending = false;
    if (page.html.isEmpty() || madeAt < kept.madeAt)
        return; // a failed read keeps the last page; the next request tries again
    kept.page = page;
    kept.day = day;
    kept.madeAt = madeAt;
}

void TodayWorker::make(const QDateTime& now, const QString& unitName, const Translation& language,
                       int slot) {
    const qint64 started = AppClock::msecsSinceEpoch();
    Error why;
    emit made(TodayFeed::Make(now, unitName, language, &why), now.date(), started, slot);
}

void TodayWorker::close() {
    MainSession::Close();
}
