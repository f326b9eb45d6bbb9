#include "reminders/SpeechBubbleCard.h"

#include "model/CompanionVoice.h"
#include "reminders/StoreAction.h"
#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/SoftButton.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int headlineLines = 1000;

QWidget* row(QWidget* parent, int spacing)
{
    auto* widget = new QWidget(parent);
    makeRow(widget, spacing);
    return widget;
}

bool isResponding(const DewbellStore& store)
{
    return store.phase() == CompanionPhase::celebrating || store.phase() == CompanionPhase::declined;
}

}  // namespace

SpeechBubbleCard::SpeechBubbleCard(DewbellStore* store, QWidget* parent) : CardFrame(13, parent), store_(store)
{
    buildHeader();

    // The line may hold a long name without spaces: it breaks inside the name rather than cut it.
    headline_ = new ClampedLabel(uiFont(24, QFont::Medium, FontDesign::serif), Palette::ink(), headlineLines, 0, this);
    headline_->setObjectName(QStringLiteral("headline"));
    rows()->addWidget(headline_);

    loveNote_ = new ClampedLabel(uiFont(11), Palette::muted(), 3, 3, this);
    loveNote_->setObjectName(QStringLiteral("loveNote"));
    loveNote_->setAccessibleName(QStringLiteral("A note for you"));
    rows()->addWidget(loveNote_);

    signature_ = makeLabel({}, uiFont(10), Palette::muted(), this);
    signature_->setObjectName(QStringLiteral("signature"));
    rows()->addWidget(signature_);

    buildAnswers();
    refresh();
}

void SpeechBubbleCard::buildHeader()
{
    QWidget* header = row(this, 6);
    header_ = makeLabel({}, uiFont(8, QFont::DemiBold, FontDesign::standard, 1.2), Palette::accent(), header);
    header_->setObjectName(QStringLiteral("header"));
    close_ = new PlainButton({}, QStringLiteral("xmark"), header);
    close_->setObjectName(QStringLiteral("closeButton"));
    close_->setSymbolSize(10);
    close_->setColor(Palette::muted());
    // Room around the small cross makes it easier to hit.
    close_->setContentsMargins(4, 4, 4, 4);
    close_->setFocusPolicy(Qt::NoFocus);
    connect(close_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::snooze));
    header->layout()->addWidget(header_);
    static_cast<QHBoxLayout*>(header->layout())->addStretch(1);
    header->layout()->addWidget(close_);
    rows()->addWidget(header);
}

void SpeechBubbleCard::buildAnswers()
{
    answerRow_ = row(this, 10);
    answerRow_->setObjectName(QStringLiteral("answerRow"));
    drank_ = new PrimaryButton(QString(), QStringLiteral("checkmark"), answerRow_);
    drank_->setObjectName(QStringLiteral("drankButton"));
    notYet_ = new SoftButton(QStringLiteral("Not yet"), QString(), answerRow_);
    notYet_->setObjectName(QStringLiteral("notYetButton"));
    for (QWidget* button : {static_cast<QWidget*>(drank_), static_cast<QWidget*>(notYet_)}) {
        button->setFocusPolicy(Qt::NoFocus);
        answerRow_->layout()->addWidget(button);
    }
    static_cast<QHBoxLayout*>(answerRow_->layout())->addStretch(1);
    connect(drank_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::answerYes));
    connect(notYet_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::decline));
    rows()->addWidget(answerRow_);

    detailRow_ = row(this, 6);
    detailRow_->setObjectName(QStringLiteral("detailRow"));
    detail_ = makeLabel({}, uiFont(9), Palette::muted(), detailRow_);
    detail_->setObjectName(QStringLiteral("detail"));
    pause_ = new PlainButton(QStringLiteral("Pause 1 hour"), {}, detailRow_);
    pause_->setObjectName(QStringLiteral("pauseButton"));
    pause_->setFont(uiFont(9));
    pause_->setColor(Palette::muted());
    pause_->setFocusPolicy(Qt::NoFocus);
    detailRow_->layout()->addWidget(detail_);
    static_cast<QHBoxLayout*>(detailRow_->layout())->addStretch(1);
    detailRow_->layout()->addWidget(pause_);
    // A preview must not switch the user's reminders off: there the button only closes it.
    pauseLive_ = storeAction(store_, &DewbellStore::pause);
    closePreview_ = storeAction(store_, &DewbellStore::dismiss);
    connect(pause_, &QAbstractButton::clicked, this, [this] { (store_->preview() ? closePreview_ : pauseLive_)(); });
    rows()->addWidget(detailRow_);

    footer_ = makeLabel({}, uiFont(9), Palette::muted(), this);
    footer_->setObjectName(QStringLiteral("footer"));
    rows()->addWidget(footer_);
}

QString SpeechBubbleCard::headline(const DewbellStore& store, bool responding)
{
    const CompanionVoice voice(store.presentedCompanion());
    if (responding)
        return voice.waterResponse(store.preferences(), store.celebrating(), store.preview());
    return voice.waterPrompt(store.preferences(), store.stage());
}

void SpeechBubbleCard::refresh()
{
    const DewbellStore& store = *store_;
    const bool preview = store.preview();
    const bool responding = isResponding(store);
    const Preferences& preferences = store.preferences();

    if (preview)
        header_->setText(QStringLiteral("A LITTLE PREVIEW"));
    else if (store.celebrating())
        header_->setText(QStringLiteral("NICELY DONE."));
    else
        header_->setText(QStringLiteral("A MOMENT FOR YOU"));
    const QString closing = preview ? QStringLiteral("Close preview") : QStringLiteral("Snooze for 10 minutes");
    close_->setToolTip(closing);
    close_->setAccessibleName(closing);

    headline_->setText(headline(store, responding));
    loveNote_->setText(preferences.loveNote);
    loveNote_->setVisible(!preferences.loveNote.isEmpty());
    signature_->setText(QStringLiteral("— ") + preferences.sender);

    answerRow_->setVisible(!responding);
    detailRow_->setVisible(!responding);
    footer_->setVisible(!responding);
    drank_->setText(QStringLiteral("I drank %1 ml").arg(preferences.glassML));
    detail_->setText(preview ? QStringLiteral("Preview only · no drink will be logged")
                             : QStringLiteral("One glass · %1 ml").arg(preferences.glassML));
    footer_->setText(preview ? QStringLiteral("Click your buddy to close the preview.")
                             : QStringLiteral("Busy? Click your buddy to snooze for 10 minutes."));
}
