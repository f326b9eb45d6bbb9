#include "window/ProtectedAppsList.h"

#include "store/DewbellStore.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/Typography.h"
#include "window/PageCard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ProtectedAppsList::ProtectedAppsList(DewbellStore* store, ApplicationName applicationName, QWidget* parent)
    : QWidget(parent), store_(store), applicationName_(std::move(applicationName))
{
    setObjectName(QStringLiteral("protectedApps"));
    rows_ = makeColumn(this, PageCard::spacing);
    refresh(true);
}

void ProtectedAppsList::refresh(bool lookUpNames)
{
    const QStringList identifiers = store_->preferences().safeguards.protectedApps;
    if (identifiers == shown_ && !lookUpNames)
        return;
    shown_ = identifiers;
    // A row's "Remove" may be the sender of the change that got us here.
    while (QLayoutItem* item = rows_->takeAt(0)) {
        item->widget()->hide();
        item->widget()->deleteLater();
        delete item;
    }
    for (const QString& identifier : identifiers) {
        QWidget* row = makeRow(identifier);
        rows_->addWidget(row);
        row->show();
    }
    setVisible(!identifiers.isEmpty());
}

QWidget* ProtectedAppsList::makeRow(const QString& identifier)
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("protectedApp"));
    row->setProperty("identifier", identifier);
    auto* layout = ::makeRow(row);
    const QString name = applicationName_(identifier);
    QLabel* label = makeLabel(name, uiFont(12), Palette::ink(), row);
    label->setObjectName(QStringLiteral("applicationName"));
    layout->addWidget(label, 0, Qt::AlignVCenter);
    layout->addStretch(1);

    auto* remove = new PlainButton(QStringLiteral("Remove"), {}, row);
    remove->setObjectName(QStringLiteral("removeApp"));
    remove->setColor(Palette::muted());
    // "Remove" alone would not say which row it belongs to.
    remove->setAccessibleName(QStringLiteral("Remove ") + name);
    connect(remove, &QAbstractButton::clicked, store_, [store = store_, identifier] {
        store->update(
            [&identifier](Preferences& preferences) { preferences.safeguards.protectedApps.removeAll(identifier); });
    });
    layout->addWidget(remove, 0, Qt::AlignVCenter);
    return row;
}
