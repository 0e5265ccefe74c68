#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>

#include <future>
#include <optional>

class QThreadPool;

// Decodes a scan's photo (or the photos of scans written together) on a
// thread of its own while the scans are being written, so the greeting waits
// for the longer of the two instead of both one after the other. The thread
// is kept between scans. A photo is given at the size it is shown at when
// one is set, so the window's paint does not scale it.
class PhotoDecoder : public QObject {
public:
    explicit PhotoDecoder(QObject* parent = nullptr);
    ~PhotoDecoder() override;

    // The picture in `bytes` (null when it is none), stretched to `shown`
    // as the sign-in screen's picture box stretches it (smooth, the box's
    // proportions) when `shown` is valid and differs.
    static QImage Decode(const QByteArray& bytes, const QSize& shown);

    // Begins decoding `photos`, in order, each for a box of `shown`; a
    // decode begun before and not taken is dropped.
    void Start(const QList<QByteArray>& photos, const QSize& shown);
    void Start(const QByteArray& bytes, const QSize& shown) {
        Start(QList<QByteArray>{bytes}, shown);
    }
    // The pictures begun by Start, waiting for them where needed: a null
    // image for bytes that are no picture; nothing when no decode was begun.
    std::optional<QList<QImage>> TakeAll();
    // The first of them.
    std::optional<QImage> Take();

private:
    QThreadPool* m_pool;
    std::optional<std::future<QList<QImage>>> m_images;
};
