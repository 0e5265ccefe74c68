#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>

#include <future>
#include <optional>

class QThreadPool;

// Decodes a scan's photo on a thread of its own while the scan is being
// written, so the greeting waits for the longer of the two instead of both
// one after the other. The thread is kept between scans.
class PhotoDecoder : public QObject {
public:
    explicit PhotoDecoder(QObject* parent = nullptr);
    ~PhotoDecoder() override;

    // Begins decoding `bytes`; a decode begun before and not taken is dropped.
    void Start(const QByteArray& bytes);
    // The picture begun by Start, waiting for it where needed: a null image
    // when the bytes are no picture; nothing when no decode was begun.
    std::optional<QImage> Take();

private:
    QThreadPool* m_pool;
    std::optional<std::future<QImage>> m_image;
};
