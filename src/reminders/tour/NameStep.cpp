#include "reminders/tour/NameStep.h"

#include "reminders/tour/TourChoices.h"
#include "reminders/tour/TourKit.h"
#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int previewLines = 1000;

QString fieldStyle()
{
    return QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid %3; border-radius: 6px;"
                          " padding: 4px 8px; selection-background-color: %4; }"
                          "QLineEdit:focus { border-color: %5; }")
        .arg(Palette::background().name(), Palette::ink().name(), Palette::line().name(QColor::HexArgb),
             Palette::primary().name(), Palette::accent().name());
}

}  // namespace

NameStep::NameStep(const DewbellStore* store, TourChoices& choices, QWidget* parent)
    : QWidget(parent), store_(store), choices_(choices)
{
    setObjectName(QStringLiteral("nameStep"));
    auto* outer = makeColumn(this);
    QWidget* card = TourKit::card(18, 22, 18, this);
    outer->addWidget(card);
    QBoxLayout* layout = TourKit::cardLayout(card);

    layout->addWidget(makeLabel(QStringLiteral("A NAME FOR YOUR CREW TO USE"),
                                uiFont(10, QFont::DemiBold, FontDesign::standard, 1), Palette::accent(), card));

    field_ = new QLineEdit(choices_.recipient, card);
    field_->setObjectName(QStringLiteral("nameField"));
    field_->setPlaceholderText(QStringLiteral("Your name or nickname (optional)"));
    field_->setAccessibleName(QStringLiteral("Your name or nickname, optional"));
    field_->setFont(uiFont(16));
    field_->setStyleSheet(fieldStyle());
    layout->addWidget(field_);

    layout->addWidget(TourKit::text(QStringLiteral("Enter a name and every companion will use it. Leave it blank to "
                                                   "keep each buddy's own pet name."),
                                    QStringLiteral("nameNote"), card));

    petNames_ = new TrailingSwitch(QStringLiteral("Use each buddy's own pet name"), card);
    petNames_->setObjectName(QStringLiteral("petNameSwitch"));
    petNames_->setFont(TourKit::stepFont());
    petNames_->setChecked(choices_.useCharacterNicknames);
    layout->addWidget(petNames_);

    layout->addWidget(TourKit::divider(card));
    // A long name without spaces breaks where it must, so none of it is cut off.
    preview_ = new ClampedLabel(uiFont(18, QFont::Medium), Palette::accent(), previewLines, 0, card);
    preview_->setObjectName(QStringLiteral("namePreview"));
    layout->addWidget(preview_);
    layout->addWidget(TourKit::text(QStringLiteral("You can change this any time in A note for you. Your choice "
                                                   "stays on this computer."),
                                    QStringLiteral("privacyNote"), card));

    // Connected only now: showing the step is not a change of the name.
    connect(field_, &QLineEdit::textChanged, this, &NameStep::nameEdited);
    connect(petNames_, &QAbstractButton::toggled, this, &NameStep::petNamesSwitched);
    refresh();
}

void NameStep::refresh()
{
    const CharacterPack buddy = tourBuddy(store_->packs(), choices_.companionID, store_->companion());
    preview_->setText(buddy.name + QStringLiteral(" will call you “") + choices_.address(store_->preferences(), buddy)
                      + QStringLiteral("”."));
}

void NameStep::nameEdited(const QString& text)
{
    choices_.typeRecipient(text);
    if (field_->text() != choices_.recipient)
        field_->setText(choices_.recipient);
    petNames_->setChecked(choices_.useCharacterNicknames);
    refresh();
}

// Switching pet names on by hand keeps the typed name; it only stops being used.
void NameStep::petNamesSwitched(bool on)
{
    choices_.useCharacterNicknames = on;
    refresh();
}
