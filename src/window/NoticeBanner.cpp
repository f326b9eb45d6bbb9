#include "window/NoticeBanner.h"

#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

// A hyphen inside a word, as in a file name, is shown as one that never ends a line.
QString withUnbreakableHyphens(QString text)
{
    for (qsizetype at = 1; at + 1 < text.size(); ++at) {
        if (text[at] == QLatin1Char('-') && !text[at - 1].isSpace() && !text[at + 1].isSpace())
            text[at] = QChar(0x2011);
    }
    return text;
}

}  // namespace

NoticeBanner::NoticeBanner(QWidget* parent) : FilledCard(Palette::surface(), 10, parent)
{
    setObjectName(QStringLiteral("noticeBanner"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    label_ = makeLabel({}, uiFont(11), Palette::accent(), this);
    label_->setObjectName(QStringLiteral("noticeText"));
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    close_ = new PlainButton({}, QStringLiteral("xmark"), this);
    close_->setObjectName(QStringLiteral("noticeClose"));
    close_->setFont(uiFont(12));
    close_->setAccessibleName(QStringLiteral("Close"));
    layout->addWidget(label_, 1);
    layout->addWidget(close_, 0, Qt::AlignVCenter);
    connect(close_, &QAbstractButton::clicked, this, &NoticeBanner::closeRequested);
}

void NoticeBanner::setText(const QString& text)
{
    text_ = text;
    label_->setText(withUnbreakableHyphens(text));
}

QString NoticeBanner::text() const
{
    return text_;
}
