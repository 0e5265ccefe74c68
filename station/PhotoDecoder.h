#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>

#include <future>
#include <optional>

class QThreadPool;

// Decodes a scan's photo (or the photos of scans written together) on a
// thread of its own while the scans are being written, so the greeting waits
// for the longer of the two instead of both one after the other. The thread
// is kept between scans.
class PhotoDecoder : public QObject {
public:
    explicit PhotoDecoder(QObject* parent = nullptr);
    ~PhotoDecoder() override;

    // Begins decoding `photos`, in order; a decode begun before and not
    // taken is dropped.
    void Start(const QList<QByteArray>& photos);
    void Start(const QByteArray& bytes) { Start(QList<QByteArray>{bytes}); }
    // The pictures begun by Start, waiting for them where needed: a null
    // image for bytes that are no picture; nothing when no decode was begun.
    std::optional<QList<QImage>> TakeAll();
    // The first of them.
    std::optional<QImage> Take();

private:
    QThreadPool* m_pool;
    std::optional<std::future<QList<QImage>>> m_images;
};
