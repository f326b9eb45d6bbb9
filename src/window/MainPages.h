#pragma once

#include <QList>
#include <QString>

class DewbellStore;
class QWidget;

// The pages of the main window. The store's selectedPage holds a page's title.
enum class MainPage { dashboard, crew, reminders, wellbeing, note, settings };

// "Your day", "The little crew", "Reminders", "Focus & breaks", "A note for you", "Settings".
QString title(MainPage page);
// The system symbol of the page's sidebar row.
QString symbolName(MainPage page);

// The page a selectedPage value shows: titles are compared exactly (letter case included);
// any other value shows the dashboard.
MainPage mainPage(const QString& selectedPage);

// The sidebar's page rows, in display order ("Settings" has its own entry below them).
const QList<MainPage>& sidebarPages();

// The content of a page, built afresh each time the page is chosen (so it opens scrolled to
// its top, and the focus page's meeting length starts again at 60 minutes).
QWidget* makePageWidget(MainPage page, DewbellStore* store, QWidget* parent = nullptr);
