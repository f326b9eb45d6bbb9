#pragma once

#include "ui/FilledCard.h"

#include <QString>

class PlainButton;
class QLabel;

// The store's notice at the foot of the main window's content: the text as it stands, in
// lilac, and a close button. Lines break between words only, never at a file name's hyphen.
class NoticeBanner : public FilledCard {
    Q_OBJECT
public:
    explicit NoticeBanner(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

signals:
    void closeRequested();

private:
    QString text_;
    QLabel* label_;
    PlainButton* close_;
};
