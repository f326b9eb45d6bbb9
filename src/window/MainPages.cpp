#include "window/MainPages.h"

#include "window/AppSettingsView.h"
#include "window/CrewPage.h"
#include "window/DashboardPage.h"
#include "window/NotePage.h"
#include "window/RemindersPage.h"
#include "window/WellbeingView.h"

#include "model/EnumTable.h"

#include <array>

namespace {

struct PageInfo {
    MainPage value;
    const char* title;
    const char* symbol;
};

constexpr std::array<PageInfo, 6> pageTable{{
    {MainPage::dashboard, "Your day", "sun.max"},
    {MainPage::crew, "The little crew", "face.smiling"},
    {MainPage::reminders, "Reminders", "bell"},
    {MainPage::wellbeing, "Focus & breaks", "moon.zzz"},
    {MainPage::note, "A note for you", "heart.text.clipboard"},
    {MainPage::settings, "Settings", "gearshape"},
}};

}  // namespace

QString title(MainPage page)
{
    return QString::fromUtf8(EnumTable::rowOf(pageTable, page).title);
}

QString symbolName(MainPage page)
{
    return QString::fromLatin1(EnumTable::rowOf(pageTable, page).symbol);
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
