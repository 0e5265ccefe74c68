#pragma once

#include "shared/db/DbErrors.h"
#include "texts/Translation.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QThread>

class TodayWorker;

// The 今日 page, made for every viewer alike. In the background mode a
// thread of its own (with its own read-only connection) makes it anew at
// most every kFreshMs while it is asked for, and a request gets the page
// last made, so fifty viewers at once never wait for the month's records;
// the first request of a day waits for it. Each language has its page,
// made apart. Without the background (tests) every request makes it on the
// calling thread.
class TodayFeed : public QObject {
    Q_OBJECT
public:
    explicit TodayFeed(bool background, QObject* parent = nullptr);
    ~TodayFeed() override;

    static constexpr qint64 kFreshMs = 2000;
    // The languages kept apart, numbered from 0.
    static constexpr int kLanguages = 2;

    // The page as HTML and compressed (HTTP's "deflate": a zlib stream),
    // made once for every viewer.
    struct Page {
        QByteArray html, deflated;
    };

    // The page for `now` in the unit `unitName`, in `language` (the one
    // numbered `slot`); empty, why in *why, when the records cannot be read.
    // `language` must outlive the feed.
    Page Get(const QDateTime& now, const QString& unitName, const Translation& language, int slot,
             Error* why);

    // Makes the page on the calling thread's shared connection.
    static Page Make(const QDateTime& now, const QString& unitName, const Translation& language,
                     Error* why);

private slots:
    void take(const TodayFeed::Page& page, const QDate& day, qint64 madeAt, int slot);

private:
    // The last page of one language.
    struct Kept {
        Page page;
        QDate day;
        qint64 madeAt = 0;
        bool pending = false;
    };

    bool m_background;
    QThread m_thread;
    TodayWorker* m_worker = nullptr; // lives on m_thread, deleted after it ends
    Kept m_kept[kLanguages];
};

// The background side of TodayFeed.
class TodayWorker : public QObject {
    Q_OBJECT
public slots:
    void make(const QDateTime& now, const QString& unitName, const Translation& language, int slot);
    void close();
signals:
    void made(const TodayFeed::Page& page, const QDate& day, qint64 madeAt, int slot);
};
