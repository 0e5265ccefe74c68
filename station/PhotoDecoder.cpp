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

void PhotoDecoder::Start(const QByteArray& bytes) {
    auto done = std::make_shared<std::promise<QImage>>();
    m_image = done->get_future();
    m_pool->start([bytes, done] {
        QImage image;
        if (!bytes.isEmpty())
            image.loadFromData(bytes);
        done->set_value(std::move(image));
    });
}

std::optional<QImage> PhotoDecoder::Take() {
    if (!m_image)
        return std::nullopt;
    return std::exchange(m_image, std::nullopt)->get();
}
