#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

class QThread;

// Refreshes the station's copy (StationCache) in the background: each run
// on a thread of its own with its own server session (Qt's connections
// belong to the thread that opens them), so a scan never waits for it. A
// run asked for while one is going is skipped.
class CopyRefresher : public QObject {
    Q_OBJECT

public:
    CopyRefresher(const QString& cacheFile, QObject* parent);
    ~CopyRefresher() override;

    // Starts a run reading the day of `now`; false when one is going.
    bool Start(const QDateTime& now);
    bool Running() const;
    // Waits for a run going (the station closing, a test).
    void Wait();

signals:
    void Finished(bool ok);

private:
    QString m_cacheFile;
    QPointer<QThread> m_thread;
};
