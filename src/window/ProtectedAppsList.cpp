#include "window/ProtectedAppsList.h"

#include "platform/ApplicationCatalog.h"
#include "platform/DesktopFiles.h"
#include "store/DewbellStore.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/Typography.h"
#include "window/PageCard.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

// Each identifier's name as its desktop file gives it (the localized Name, else GenericName);
// the identifier itself when no visible application has it.
QStringList applicationNames(const QStringList& identifiers, const QStringList& applicationFolders)
{
    QHash<QString, QString> paths;
    for (const DesktopFile& file : DesktopFiles::scan(applicationFolders))
        paths.insert(file.id, file.path);
    const QString language = QLocale().name();
    QStringList names;
    for (const QString& identifier : identifiers) {
        const auto application = paths.contains(identifier)
                                     ? ApplicationCatalog::read(paths.value(identifier), identifier, language)
                                     : std::nullopt;
        names.append(application ? application->name : identifier);
    }
    return names;
}

}  // namespace

ProtectedAppsList::ProtectedAppsList(DewbellStore* store, QStringList applicationFolders, QWidget* parent)
    : QWidget(parent), store_(store), applicationFolders_(std::move(applicationFolders))
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
    const QStringList names = applicationNames(identifiers, applicationFolders_);
    for (qsizetype i = 0; i < identifiers.size(); ++i) {
        QWidget* row = makeRow(identifiers[i], names[i]);
        rows_->addWidget(row);
        row->show();
    }
    setVisible(!identifiers.isEmpty());
}

QWidget* ProtectedAppsList::makeRow(const QString& identifier, const QString& name)
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("protectedApp"));
    row->setProperty("identifier", identifier);
    auto* layout = ::makeRow(row);
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
