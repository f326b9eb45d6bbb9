#include "shell/ApplicationPicker.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ApplicationPicker::ApplicationPicker(const QString& title, const QList<InstalledApplication>& applications,
                                     QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("applicationPicker"));
    setWindowTitle(title);
    setModal(true);
    resize(380, 460);

    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("applicationList"));
    for (const InstalledApplication& application : applications) {
        auto* item = new QListWidgetItem(application.name, list_);
        item->setData(Qt::UserRole, application.id);
        item->setToolTip(application.id);
    }
    if (applications.isEmpty())
        layout->addWidget(new QLabel(QStringLiteral("No installed applications were found."), this));
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* choose = buttons->button(QDialogButtonBox::Ok);
    choose->setText(QStringLiteral("Choose"));
    choose->setEnabled(false);
    connect(list_, &QListWidget::currentRowChanged, choose, [choose](int row) { choose->setEnabled(row >= 0); });
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<QString> ApplicationPicker::selectedID() const
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return std::nullopt;
    return item->data(Qt::UserRole).toString();
}

std::optional<QString> ApplicationPicker::choose(QWidget* parent, const QString& title)
{
    ApplicationPicker picker(title, ApplicationCatalog::installedOnThisSystem(), parent);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.selectedID();
}
