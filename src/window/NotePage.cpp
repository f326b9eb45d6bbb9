#include "window/NotePage.h"

#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/DarkSurface.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PrimaryButton.h"
#include "ui/RefreshOnScreen.h"
#include "ui/SoftButton.h"
#include "ui/SymbolLabel.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"
#include "window/PageHelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int cardPadding = 24;
constexpr int editorHeight = 110;
constexpr int previewLines = 1000;

QLabel* wrapped(const QString& text, qreal size, QWidget* parent)
{
    auto* label = makeLabel(text, uiFont(size), Palette::muted(), parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

NotePage::NotePage(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    auto* layout = makeColumn(this, 24);
    layout->addWidget(pageTitle(QStringLiteral("A little love, between sips."),
                                QStringLiteral("Make every reminder sound a little more like you."), this));
    layout->addWidget(makeSettingsCard());
    layout->addWidget(makePreview());
    auto* hello = new PrimaryButton(QStringLiteral("Preview their little hello"), {}, this);
    hello->setObjectName(QStringLiteral("previewHello"));
    connect(hello, &QAbstractButton::clicked, this,
            [this] { store_->showReminder(true, ReminderKind::water, std::nullopt); });
    layout->addWidget(hello, 0, Qt::AlignLeft);
    auto* divider = new FilledCard(Palette::line(), 0, this);
    divider->setFixedHeight(1);
    layout->addWidget(divider);
    layout->addWidget(makeCarePackage());

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { refresh(); });
    refresh();
}

QString NotePage::previewText(const QString& loveNote)
{
    return loveNote.isEmpty() ? QStringLiteral("A tiny reminder that someone cares.") : loveNote;
}

QWidget* NotePage::makeSettingsCard()
{
    auto* card = new FilledCard(Palette::surface(), 18, this);
    auto* layout = makePaddedColumn(card, cardPadding, 18);

    auto* nicknames = new TrailingSwitch(QStringLiteral("Use each buddy's own pet name"), card);
    nicknames->setObjectName(QStringLiteral("nicknameSwitch"));
    nicknames->setFont(uiFont(13));
    bind(nicknames, binding(store_, &Preferences::useCharacterNicknames));
    layout->addWidget(nicknames);
    layout->addWidget(
        wrapped(QStringLiteral("Pemmy says cutie, Quelly says sweety, Viru says vuzo, Vuzo says viru, and "
                               "Zoze and Zuv say master. Turn this off to give everyone your own name "
                               "below."),
                11, card));
    recipientField_ = field(QStringLiteral("THEIR NAME OR NICKNAME"), binding(store_, &Preferences::recipient), card);
    recipientField_->setObjectName(QStringLiteral("recipientField"));
    layout->addWidget(recipientField_);
    QWidget* sender = field(QStringLiteral("FROM"), binding(store_, &Preferences::sender), card);
    sender->setObjectName(QStringLiteral("senderField"));
    layout->addWidget(sender);

    const QString noteLabel = QStringLiteral("A NOTE TO TUCK INTO EVERY REMINDER");
    layout->addWidget(
        makeLabel(noteLabel, uiFont(9, QFont::DemiBold, FontDesign::standard, 1.1), Palette::muted(), card));
    auto* fill = new FilledCard(QColor(255, 255, 255, 10), 10, card);
    fill->setFixedHeight(editorHeight);
    auto* inner = new QVBoxLayout(fill);
    inner->setContentsMargins(12, 12, 12, 12);
    editor_ = new QPlainTextEdit(fill);
    editor_->setObjectName(QStringLiteral("loveNote"));
    editor_->setAccessibleName(noteLabel);
    editor_->setFrameShape(QFrame::NoFrame);
    editor_->setFont(uiFont(14, QFont::Normal, FontDesign::serif));
    editor_->setTabChangesFocus(true);
    editor_->document()->setDocumentMargin(0);
    useCardFill(editor_);
    editor_->viewport()->setAutoFillBackground(false);
    bind(editor_, binding(store_, &Preferences::loveNote));
    inner->addWidget(editor_);
    layout->addWidget(fill);
    return card;
}

QWidget* NotePage::makePreview()
{
    auto* block = new QWidget(this);
    auto* layout = makePaddedColumn(block, cardPadding, 15);
    layout->addWidget(new SymbolLabel(QStringLiteral("quote.opening"), 22, Palette::accent(), block));
    preview_ = new ClampedLabel(uiFont(23, QFont::Normal, FontDesign::serif), Palette::ink(), previewLines, 5, block);
    preview_->setObjectName(QStringLiteral("notePreview"));
    layout->addWidget(preview_);
    senderLine_ = makeLabel({}, uiFont(11), Palette::muted(), block);
    senderLine_->setObjectName(QStringLiteral("senderLine"));
    senderLine_->setWordWrap(true);
    layout->addWidget(senderLine_);
    return block;
}

QWidget* NotePage::makeCarePackage()
{
    auto* block = new QWidget(this);
    auto* layout = makeColumn(block, 24);
    auto* buttons = new QHBoxLayout;
    auto* save = new SoftButton(QStringLiteral("Save a care package"), {}, block);
    save->setObjectName(QStringLiteral("saveCarePackage"));
    connect(save, &QAbstractButton::clicked, store_, &DewbellStore::exportGiftSettings);
    auto* open = new SoftButton(QStringLiteral("Open a care package"), {}, block);
    open->setObjectName(QStringLiteral("openCarePackage"));
    connect(open, &QAbstractButton::clicked, store_, &DewbellStore::importGiftSettings);
    buttons->addWidget(save);
    buttons->addWidget(open);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(wrapped(QStringLiteral("Send the saved file with the app to share your note and reminder "
                                             "settings. Characters and drink history aren't included."),
                              10.5, block));
    return block;
}

void NotePage::refresh()
{
    const Preferences& preferences = store_->preferences();
    recipientField_->setEnabled(!preferences.useCharacterNicknames);
    preview_->setText(previewText(preferences.loveNote));
    senderLine_->setText(QStringLiteral("\u2014 ") + preferences.sender);
}
