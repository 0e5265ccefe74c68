#include "devices/capture/CameraView.h"

#include "devices/capture/CameraSource.h"

#include <QPainter>

CameraView::CameraView(CameraSource* source, QWidget* parent) : QWidget(parent) {
    setFixedSize(ViewWidth, ViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (source) {
        m_frame = source->frame();
        connect(source, &CameraSource::frameChanged, this, [this](const QImage& frame) {
            m_frame = frame;
            update();
        });
    }
}

void CameraView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_frame);
}
