#include "MainSidebar.h"
#include "MainView.h"
#include "NoticeBanner.h"
#include "Palette.h"
#include "SidebarButton.h"
#include "StatusDot.h"
#include "TourSheet.h"
#include "ViewTesting.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace ViewTesting;

class MainViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pageSwitchComparesTitlesExactly_data();
    void pageSwitchComparesTitlesExactly();
    void sidebarRowsSetTheSelectedPage();
    void settingsHighlightsOnlyItsOwnEntry();
    void eachPageOpensScrolledToItsTop();
    void staticRenderingHasNoScrollView();
    void statusCardFollowsTheFirstMatchingState();
    void headerNamesTheWeekday();
    void noticeBannerShowsAndClosesTheNotice();
    void tourSheetFollowsTheStore();
    void dismissingAnUnfinishedTourFinishesIt();

private:
    QList<SidebarButton*> highlighted() const;

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<MainView> view_;
};

void MainViewTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    store_ = makeStore(*folder_);
    view_ = std::make_unique<MainView>(store_.get());
    view_->resize(960, 735);
    view_->show();
}

void MainViewTest::cleanup()
{
    view_.reset();
    store_.reset();
    folder_.reset();
}

QList<SidebarButton*> MainViewTest::highlighted() const
{
    QList<SidebarButton*> selected;
    for (SidebarButton* entry : view_->findChildren<SidebarButton*>()) {
        if (entry->isSelected())
            selected.append(entry);
    }
    return selected;
}

void MainViewTest::pageSwitchComparesTitlesExactly_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<MainPage>("shown");
    QTest::addColumn<QString>("highlightedEntry");
    QTest::newRow("initial") << QStringLiteral("Your day") << MainPage::dashboard << QStringLiteral("Your day");
    QTest::newRow("crew") << QStringLiteral("The little crew") << MainPage::crew << QStringLiteral("The little crew");
    QTest::newRow("reminders") << QStringLiteral("Reminders") << MainPage::reminders << QStringLiteral("Reminders");
    QTest::newRow("wellbeing") << QStringLiteral("Focus & breaks") << MainPage::wellbeing << QStringLiteral("Focus & breaks");
    QTest::newRow("note") << QStringLiteral("A note for you") << MainPage::note << QStringLiteral("A note for you");
    QTest::newRow("settings") << QStringLiteral("Settings") << MainPage::settings << QStringLiteral("Settings");
    QTest::newRow("lower case") << QStringLiteral("reminders") << MainPage::dashboard << QString();
    QTest::newRow("trailing space") << QStringLiteral("Settings ") << MainPage::dashboard << QString();
    QTest::newRow("empty") << QString() << MainPage::dashboard << QString();
    QTest::newRow("unknown") << QStringLiteral("Somewhere else") << MainPage::dashboard << QString();
}

void MainViewTest::pageSwitchComparesTitlesExactly()
{
    QFETCH(QString, selected);
    QFETCH(MainPage, shown);
    QFETCH(QString, highlightedEntry);

    store_->setSelectedPage(selected);
    QCOMPARE(view_->currentPage(), shown);
    QCOMPARE(view_->pageWidget()->property("page").toString(), title(shown));
    QCOMPARE(labelText(view_->pageWidget(), "pageTitle"), title(shown));

    const QList<SidebarButton*> selectedEntries = highlighted();
    if (highlightedEntry.isEmpty()) {
        QVERIFY(selectedEntries.isEmpty());
    } else {
        QCOMPARE(selectedEntries.size(), 1);
        QCOMPARE(selectedEntries.first()->text(), highlightedEntry);
        QCOMPARE(selectedEntries.first()->foreground(), Palette::accent());
    }
}

void MainViewTest::sidebarRowsSetTheSelectedPage()
{
    QStringList rowTitles;
    for (SidebarButton* row : view_->findChildren<SidebarButton*>(QStringLiteral("pageRow")))
        rowTitles.append(row->text());
    QCOMPARE(rowTitles, (QStringList{QStringLiteral("Your day"), QStringLiteral("The little crew"),
                                     QStringLiteral("Reminders"), QStringLiteral("Focus & breaks"),
                                     QStringLiteral("A note for you")}));

    for (SidebarButton* row : view_->findChildren<SidebarButton*>(QStringLiteral("pageRow"))) {
        QTest::mouseClick(row, Qt::LeftButton);
        QCOMPARE(store_->selectedPage(), row->text());
        QCOMPARE(title(view_->currentPage()), row->text());
    }
}

void MainViewTest::settingsHighlightsOnlyItsOwnEntry()
{
    auto* settings = view_->findChild<SidebarButton*>(QStringLiteral("settingsEntry"));
    QVERIFY(settings);
    QTest::mouseClick(settings, Qt::LeftButton);
    QCOMPARE(store_->selectedPage(), QStringLiteral("Settings"));
    QCOMPARE(highlighted(), QList<SidebarButton*>{settings});
    QCOMPARE(view_->currentPage(), MainPage::settings);
}

void MainViewTest::eachPageOpensScrolledToItsTop()
{
    auto* scroll = view_->findChild<QScrollArea*>(QStringLiteral("pageScroll"));
    QVERIFY(scroll);
    store_->setSelectedPage(QStringLiteral("Reminders"));
    scroll->widget()->setMinimumHeight(4000);
    QApplication::processEvents();
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    QVERIFY(scroll->verticalScrollBar()->value() > 0);

    store_->setSelectedPage(QStringLiteral("A note for you"));
    QApplication::processEvents();
    QCOMPARE(scroll->verticalScrollBar()->value(), 0);
    QCOMPARE(view_->currentPage(), MainPage::note);
}

void MainViewTest::staticRenderingHasNoScrollView()
{
    MainView rendered(store_.get(), true);
    rendered.resize(960, 735);
    rendered.show();
    QVERIFY(!rendered.findChild<QScrollArea*>());
    const auto* column = rendered.findChild<QWidget*>(QStringLiteral("mainContent"));
    QVERIFY(column);
    QCOMPARE(column->height(), rendered.height());
    QVERIFY(rendered.minimumWidth() >= 920 && rendered.minimumHeight() >= 680);
}

void MainViewTest::statusCardFollowsTheFirstMatchingState()
{
    const auto status = [this] { return labelText(view_.get(), "statusText"); };
    const auto dot = [this] { return view_->findChild<StatusDot*>(QStringLiteral("statusDot"))->color(); };

    QCOMPARE(status(), QStringLiteral("Looking out for you"));
    QCOMPARE(dot(), Palette::accent());

    // Quiet hours (22:00 to 09:00 by default).
    store_->tick(QDateTime(QDate(2024, 3, 4), QTime(23, 0), zone()).toUTC());
    QCOMPARE(status(), QStringLiteral("Quiet hours"));
    QCOMPARE(dot(), Palette::accent());

    store_->pause();
    QCOMPARE(status(), QStringLiteral("Taking a breather"));
    QCOMPARE(dot(), MainSidebar::pausedColor());

    store_->startMeeting(60);
    QCOMPARE(status(), QStringLiteral("Meeting protection"));
    QCOMPARE(dot(), MainSidebar::pausedColor());

    store_->startFocus(30);
    QCOMPARE(status(), QStringLiteral("Focus mode"));
    QCOMPARE(dot(), MainSidebar::pausedColor());

    store_->endFocus();
    store_->endMeeting();
    store_->resume();
    store_->tick(morning().addSecs(60));
    QCOMPARE(status(), QStringLiteral("Looking out for you"));

    // Reminders switched off count as a pause.
    store_->update([](Preferences& preferences) { preferences.enabled = false; });
    QCOMPARE(status(), QStringLiteral("Taking a breather"));
    QCOMPARE(dot(), MainSidebar::pausedColor());
}

void MainViewTest::headerNamesTheWeekday()
{
    const QDate today = QDate::currentDate();
    QCOMPARE(labelText(view_.get(), "weekdayHeader"),
             QLocale().dayName(today.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(". A fresh little start."));
}

void MainViewTest::noticeBannerShowsAndClosesTheNotice()
{
    QVERIFY(!view_->findChild<NoticeBanner*>());

    store_->setNotice(QStringLiteral("Couldn't save your settings: disk full"));
    auto* banner = view_->findChild<NoticeBanner*>();
    QVERIFY(banner);
    QVERIFY(banner->isVisible());
    QCOMPARE(banner->text(), QStringLiteral("Couldn't save your settings: disk full"));

    // The banner survives a page change.
    store_->setSelectedPage(QStringLiteral("Reminders"));
    banner = view_->findChild<NoticeBanner*>();
    QVERIFY(banner);
    QCOMPARE(banner->text(), QStringLiteral("Couldn't save your settings: disk full"));

    QTest::mouseClick(ViewTesting::button(banner, "noticeClose"), Qt::LeftButton);
    QCOMPARE(store_->notice(), std::nullopt);
    QVERIFY(!banner->isVisible());
    QTRY_VERIFY(!view_->findChild<NoticeBanner*>());
}

void MainViewTest::tourSheetFollowsTheStore()
{
    TourSheet* sheet = view_->tourSheet();
    QVERIFY(!sheet->isVisible());
    store_->presentTour();
    QVERIFY(sheet->isVisible());

    // Finishing the tour from inside ends it once and closes the sheet.
    QTest::mouseClick(ViewTesting::button(sheet, "skipTour"), Qt::LeftButton);
    QVERIFY(!store_->tourVisible());
    QVERIFY(!sheet->isVisible());
    QCOMPARE(store_->state().tourVersion, 1);

    // A finished tour shown again and dismissed stays finished and calls nothing more.
    store_->presentTour();
    QVERIFY(sheet->isVisible());
    sheet->reject();
    QVERIFY(!store_->tourVisible());
    QCOMPARE(store_->state().tourVersion, 1);
}

void MainViewTest::dismissingAnUnfinishedTourFinishesIt()
{
    store_->mutateState([](SavedState& state) { state.tourVersion = 0; });
    store_->presentTourIfNeeded();
    TourSheet* sheet = view_->tourSheet();
    QVERIFY(sheet->isVisible());

    QTest::keyClick(sheet, Qt::Key_Escape);
    QVERIFY(!sheet->isVisible());
    QVERIFY(!store_->tourVisible());
    QCOMPARE(store_->state().tourVersion, 1);

    // Hidden by the store while never finished: also recorded as finished.
    store_->mutateState([](SavedState& state) { state.tourVersion = 0; });
    store_->presentTour();
    store_->setTourVisible(false);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(store_->state().tourVersion, 1);
}

QTEST_MAIN(MainViewTest)
#include "test_main_view.moc"
