#include "station/PhotoDecoder.h"

#include <QThreadPool>

#include <memory>
#include <utility>

PhotoDecoder::PhotoDecoder(QObject* parent) : QObject(parent), m_pool(new QThreadPool(this)) {
    m_pool->setMaxThreadCount(1);
    m_pool->setExpiryTimeout(-1);
}

PhotoDecoder::~PhotoDecoder() {
    m_pool->waitForDone();
}

void PhotoDecoder::Start(const QList<QByteArray>& photos) {
    auto done = std::make_shared<std::promise<QList<QImage>>>();
    m_images = done->get_future();
    m_pool->start([photos, done] {
        QList<QImage> images(photos.size());
        for (qsizetype i = 0; i < photos.size(); ++i)
            if (!photos[i].isEmpty())
                images[i].loadFromData(photos[i]);
        done->set_value(std::move(images));
    });
}

std::optional<QList<QImage>> PhotoDecoder::TakeAll() {
    if (!m_images)
        return std::nullopt;
    return std::exchange(m_images, std::nullopt)->get();
}

std::optional<QImage> PhotoDecoder::Take() {
    std::optional<QList<QImage>> images = TakeAll();
    if (!images)
        return std::nullopt;
    return images->value(0);
}
