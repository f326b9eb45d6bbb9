#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QPointer>

// A picture that is one big button: the whole rectangle takes the click. The picture widget is
// the button's child; a picture that is drawn (the companions, the sticker) is kept off the
// screen and painted by the button, which lets the button mirror it; a picture that shows
// itself (a playing movie) stays a visible child that lets the clicks through.
//
// A drawn picture is kept as an image and drawn again only after redraw(): moving or mirroring
// the button, or repainting what lies around it, reuses the image.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Drawing { paintedByButton, showsItself };

    explicit PictureButton(QWidget* parent = nullptr);

    // Takes ownership of `picture`, replacing (and deleting) the previous one.
    void setPicture(QWidget* picture, Drawing drawing = Drawing::paintedByButton);
    QWidget* picture() const { return picture_; }

    // The picture has changed: draw it again.
    void redraw();

    // Mirrored left to right about the centre (a companion walking away).
    void setMirrored(bool mirrored);
    bool isMirrored() const { return mirrored_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QWidget> picture_;
    Drawing drawing_ = Drawing::paintedByButton;
    bool mirrored_ = false;
    QImage frame_;
    bool frameIsStale_ = true;
};
