#include "window/MainPages.h"

#include "window/AppSettingsView.h"
#include "window/CrewPage.h"
#include "window/DashboardPage.h"
#include "window/NotePage.h"
#include "window/RemindersPage.h"
#include "window/WellbeingView.h"

QString title(MainPage page)
{
    switch (page) {
    case MainPage::dashboard:
        return QStringLiteral("Your day");
    case MainPage::crew:
        return QStringLiteral("The little crew");
    case MainPage::reminders:
        return QStringLiteral("Reminders");
    case MainPage::wellbeing:
        return QStringLiteral("Focus & breaks");
    case MainPage::note:
        return QStringLiteral("A note for you");
    case MainPage::settings:
        return QStringLiteral("Settings");
    }
    return {};
}

QString symbolName(MainPage page)
{
    switch (page) {
    case MainPage::dashboard:
        return QStringLiteral("sun.max");
    case MainPage::crew:
        return QStringLiteral("face.smiling");
    case MainPage::reminders:
        return QStringLiteral("bell");
    case MainPage::wellbeing:
        return QStringLiteral("moon.zzz");
    case MainPage::note:
        return QStringLiteral("heart.text.clipboard");
    case MainPage::settings:
        return QStringLiteral("gearshape");
    }
    return {};
}

MainPage mainPage(const QString& selectedPage)
{
    for (MainPage page :
         {MainPage::crew, MainPage::reminders, MainPage::wellbeing, MainPage::settings, MainPage::note}) {
        if (selectedPage == title(page))
            return page;
    }
    return MainPage::dashboard;
}

const QList<MainPage>& sidebarPages()
{
    static const QList<MainPage> pages{MainPage::dashboard, MainPage::crew, MainPage::reminders, MainPage::wellbeing,
                                       MainPage::note};
    return pages;
}

QWidget* makePageWidget(MainPage page, DewbellStore* store, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (page) {
    case MainPage::dashboard:
        widget = new DashboardPage(store, parent);
        break;
    case MainPage::crew:
        widget = new CrewPage(store, parent);
        break;
    case MainPage::reminders:
        widget = new RemindersPage(store, parent);
        break;
    case MainPage::note:
        widget = new NotePage(store, parent);
        break;
    case MainPage::wellbeing:
        widget = new WellbeingView(store, UrlOpener::desktop(), parent);
        break;
    case MainPage::settings:
        widget = new AppSettingsView(store, nullptr, DesktopFiles::applicationFolders(), parent);
        break;
    }
    widget->setObjectName(QStringLiteral("page"));
    widget->setProperty("page", title(page));
    return widget;
}
