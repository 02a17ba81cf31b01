#pragma once

#include <QImage>
#include <QWidget>

// The camera's live picture, scaled to the space the screen gives it with
// its shape kept; black around it.
class LivePicture final : public QWidget {
    Q_OBJECT

public:
    explicit LivePicture(QWidget* parent = nullptr);

    void showPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    // Where the picture is drawn inside the widget.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
