#include "station/PhotoDecoder.h"

#include "imaging/JpegReader.h"

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

QImage PhotoDecoder::Decode(const QByteArray& bytes, const QSize& shown) {
    if (bytes.isEmpty())
        return {};
    // A larger photo (a camera frame) is decoded at the eighth of its size
    // nearest above the box, which the smooth scaling then meets.
    QImage image = JpegReader::Read(bytes, shown).value_or(QImage());
    if (image.isNull() && !image.loadFromData(bytes))
        return {};
    if (!shown.isValid() || shown.isEmpty() || image.size() == shown)
        return image;
    return image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void PhotoDecoder::Start(const QList<QByteArray>& photos, const QSize& shown) {
    auto done = std::make_shared<std::promise<QList<QImage>>>();
    m_images = done->get_future();
    m_pool->start([photos, shown, done] {
        QList<QImage> images(photos.size());
        for (qsizetype i = 0; i < photos.size(); ++i)
            images[i] = Decode(photos[i], shown);
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
