#pragma once

#include <QImage>
#include <QWidget>

class CameraSource;

// The camera's picture, 640 x 480 pixels, the frame stretched to fill it;
// black while there is no picture.
class CameraView : public QWidget {
    Q_OBJECT

public:
    explicit CameraView(CameraSource* source, QWidget* parent = nullptr);

    static constexpr int ViewWidth = 640;
    static constexpr int ViewHeight = 480;

    // The picture being shown.
    QImage shownFrame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
};
