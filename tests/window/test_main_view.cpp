#include "reminders/tour/CompanionCard.h"
#include "support/PageTesting.h"
#include "support/TableTesting.h"
#include "ui/ClampedLabel.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/SoftButton.h"
#include "ui/StatusDot.h"
#include "window/CardButton.h"
#include "window/MainSidebar.h"
#include "window/MainView.h"
#include "window/NoticeBanner.h"
#include "window/PackCard.h"
#include "window/SidebarButton.h"
#include "window/TourSheet.h"

#include <QAccessible>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextLayout>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

class MainViewTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init() { view_ = showOnNewStore<MainView>(QSize(960, 735)); }

    void cleanup()
    {
        view_.reset();
        closeStore();
    }

    void pageSwitchComparesTitlesExactly_data()
    {
        addColumns<QString, MainPage>("selected", "shown");
        QTest::newRow("crew") << QStringLiteral("The little crew") << MainPage::crew;
        QTest::newRow("settings") << QStringLiteral("Settings") << MainPage::settings;
        QTest::newRow("lower case") << QStringLiteral("reminders") << MainPage::dashboard;
        QTest::newRow("trailing space") << QStringLiteral("Settings ") << MainPage::dashboard;
        QTest::newRow("empty") << QString() << MainPage::dashboard;
    }

    void pageSwitchComparesTitlesExactly()
    {
        QFETCH(QString, selected);
        QFETCH(MainPage, shown);
        store_->setSelectedPage(selected);
        QCOMPARE(view_->currentPage(), shown);
        QCOMPARE(view_->pageWidget()->property("page").toString(), title(shown));

        // Only an exact title highlights its entry.
        const QList<SidebarButton*> entries = highlighted();
        QCOMPARE(entries.size(), title(shown) == selected ? 1 : 0);
        if (!entries.isEmpty()) {
            QCOMPARE(entries.first()->text(), selected);
            QCOMPARE(entries.first()->foreground(), Palette::accent());
        }
    }

    void sidebarEntriesSetTheSelectedPage()
    {
        const auto rows = view_->findChildren<SidebarButton*>(QStringLiteral("pageRow"));
        QCOMPARE(rows.size(), 5);
        for (SidebarButton* row : rows) {
            QTest::mouseClick(row, Qt::LeftButton);
            QCOMPARE(store_->selectedPage(), row->text());
            QCOMPARE(title(view_->currentPage()), row->text());
        }
        auto* settings = view_->findChild<SidebarButton*>(QStringLiteral("settingsEntry"));
        QTest::mouseClick(settings, Qt::LeftButton);
        QCOMPARE(view_->currentPage(), MainPage::settings);
        QCOMPARE(highlighted(), QList<SidebarButton*>{settings});
    }

    void eachPageOpensScrolledToItsTop()
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
    }

    // The store publishes a change every second and after each keystroke: the page stays the
    // same widget and the field keeps the keyboard.
    void pagesFollowTheStoreWithoutBeingRebuilt()
    {
        view_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view_.get()));
        store_->setSelectedPage(QStringLiteral("A note for you"));
        QWidget* page = view_->pageWidget();
        auto* sender = page->findChild<QWidget*>(QStringLiteral("senderField"))->findChild<QLineEdit*>();
        sender->setFocus();
        sender->setCursorPosition(4);
        QTest::keyClicks(sender, QStringLiteral("XY"));
        store_->tick(morning().addSecs(1));
        store_->tick(morning().addSecs(2));
        QCOMPARE(view_->pageWidget(), page);
        QVERIFY(sender->hasFocus());
        QCOMPARE(sender->cursorPosition(), 6);
        QCOMPARE(store_->preferences().sender, QStringLiteral("someXYone who cares"));
    }

    void staticRenderingHasNoScrollView()
    {
        MainView rendered(store_.get(), true);
        rendered.resize(960, 735);
        rendered.show();
        QVERIFY(!rendered.findChild<QScrollArea*>());
        const auto* column = rendered.findChild<QWidget*>(QStringLiteral("mainContent"));
        QVERIFY(column);
        QCOMPARE(column->height(), rendered.height());
    }

    void statusCardFollowsTheFirstMatchingState()
    {
        const auto expect = [this](const QString& text, const QColor& colour) {
            QCOMPARE(labelText(view_.get(), "statusText"), text);
            QCOMPARE(view_->findChild<StatusDot*>(QStringLiteral("statusDot"))->color(), colour);
        };
        expect(QStringLiteral("Looking out for you"), Palette::accent());
        store_->tick(QDateTime(QDate(2024, 3, 4), QTime(23, 0), zone()).toUTC());
        expect(QStringLiteral("Quiet hours"), Palette::accent());
        store_->pause();
        expect(QStringLiteral("Taking a breather"), MainSidebar::pausedColor());
        store_->startMeeting(60);
        expect(QStringLiteral("Meeting protection"), MainSidebar::pausedColor());
        store_->startFocus(30);
        expect(QStringLiteral("Focus mode"), MainSidebar::pausedColor());

        store_->endFocus();
        store_->endMeeting();
        store_->resume();
        store_->tick(morning().addSecs(60));
        expect(QStringLiteral("Looking out for you"), Palette::accent());
        // Reminders switched off count as a pause.
        store_->update([](Preferences& preferences) { preferences.enabled = false; });
        expect(QStringLiteral("Taking a breather"), MainSidebar::pausedColor());
    }

    void headerNamesTheWeekday()
    {
        QCOMPARE(labelText(view_.get(), "weekdayHeader"),
                 QLocale().dayName(QDate::currentDate().dayOfWeek(), QLocale::LongFormat)
                     + QStringLiteral(". A fresh little start."));
    }

    void noticeBannerShowsAndClosesTheNotice()
    {
        QVERIFY(!view_->findChild<NoticeBanner*>());
        store_->setNotice(QStringLiteral("Couldn't save your settings: disk full"));
        store_->setSelectedPage(QStringLiteral("Reminders"));  // the banner survives a page change
        auto* banner = view_->findChild<NoticeBanner*>();
        QVERIFY(banner && banner->isVisible());
        QCOMPARE(banner->text(), QStringLiteral("Couldn't save your settings: disk full"));

        QTest::mouseClick(button(banner, "noticeClose"), Qt::LeftButton);
        QCOMPARE(store_->notice(), std::nullopt);
        QVERIFY(!banner->isVisible());
        QTRY_VERIFY(!view_->findChild<NoticeBanner*>());
    }

    // Saving or opening a care package at the foot of the note page: the notice that answers
    // comes into view beside the buttons, while a page opened later still starts at its top.
    void aNewNoticeComesIntoViewWhereTheUserActed()
    {
        view_->resize(MainView::minimumViewSize);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("note.json"));
        store_->chooseSaveLocation = [&](const QString&, const QString&, const QString&) { return file; };
        store_->chooseFileToOpen = [&](const QString&, const QString&) { return file; };
        store_->setSelectedPage(title(MainPage::note));
        auto* scroll = view_->findChild<QScrollArea*>(QStringLiteral("pageScroll"));
        const auto inView = [&](QWidget* widget) {
            const QRect place(widget->mapTo(scroll->viewport(), QPoint()), widget->size());
            return scroll->viewport()->rect().contains(place);
        };

        for (const char* action : {"saveCarePackage", "openCarePackage"}) {
            auto* pressed = button(view_->pageWidget(), action);
            QApplication::processEvents();
            scroll->ensureWidgetVisible(pressed, 0, 0);
            QVERIFY(inView(pressed));
            QTest::mouseClick(pressed, Qt::LeftButton);
            QVERIFY(store_->notice());
            QApplication::processEvents();
            auto* banner = view_->findChild<NoticeBanner*>();
            QVERIFY2(inView(banner), action);
            QVERIFY2(inView(pressed), action);
            // Not on the window's edge: room below it, or the page's own end.
            const int below =
                scroll->viewport()->height() - banner->mapTo(scroll->viewport(), QPoint()).y() - banner->height();
            const QScrollBar* bar = scroll->verticalScrollBar();
            QVERIFY2(below >= 20 || bar->value() == bar->maximum(), qPrintable(QString::number(below)));
            store_->setNotice(std::nullopt);
            scroll->verticalScrollBar()->setValue(0);
        }

        store_->setNotice(QStringLiteral("Couldn't save your settings: disk full"));
        QApplication::processEvents();
        store_->setSelectedPage(title(MainPage::reminders));
        QApplication::processEvents();
        QCOMPARE(scroll->verticalScrollBar()->value(), 0);
    }

    // Lines of the status card's note sit 4 pixels further apart than the font's own.
    void sidebarNoteIsSpacedOut()
    {
        QWidget* note = nullptr;
        for (QWidget* widget : view_->findChildren<QWidget*>()) {
            for (const char* property : {"text", "shownText"}) {
                if (widget->property(property).toString().startsWith(QStringLiteral("Made for someone special.")))
                    note = widget;
            }
        }
        QVERIFY(note);
        QImage shown(note->size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        note->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        // The first row of ink of each line of text.
        QList<int> lineTops;
        bool inLine = false;
        for (int y = 0; y < shown.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < shown.width() && !ink; ++x)
                ink = qAlpha(shown.pixel(x, y)) > 100;
            if (ink && !inLine)
                lineTops.append(y);
            inLine = ink;
        }
        QVERIFY2(lineTops.size() >= 2, qPrintable(QString::number(lineTops.size())));
        // The first two lines both reach up to an "l": their tops lie a line apart.
        const QFontMetrics metrics(note->font());
        QVERIFY2(std::abs(lineTops[1] - lineTops[0] - (metrics.height() + 4)) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(lineTops[1] - lineTops[0]).arg(metrics.height())));
    }

    void noticeBannerBreaksLinesBetweenWordsOnly()
    {
        const QString notice = QStringLiteral(
            "Couldn't read the companion in long-folder-name: its file vossik-fan-poses-sheet-v2.png is broken.");
        store_->setNotice(notice);
        auto* banner = view_->findChild<NoticeBanner*>();
        QCOMPARE(banner->text(), notice);
        auto* shown = banner->findChild<QLabel*>(QStringLiteral("noticeText"));
        for (const int width : {180, 240, 300, 420}) {
            // The label's own text laid out at a few widths, as it wraps.
            QTextLayout layout(shown->text(), shown->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            QStringList lines;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width);
                lines.append(shown->text().mid(line.textStart(), line.textLength()));
            }
            layout.endLayout();
            QVERIFY(lines.size() > 1);
            // A line that ends in its hyphen broke inside a word.
            for (const QString& line : lines)
                QVERIFY2(!line.endsWith(QLatin1Char('-')) && !line.endsWith(QChar(0x2011)),
                         qPrintable(lines.join(QLatin1Char('|'))));
        }
    }

    void longCompanionNamesStayInsideTheWindow_data()
    {
        addColumns<QString, QSize>("name", "size");
        const QString spaced = QStringLiteral("Lady Marigold Wetherby-Sip of Puddle Lane, Keeper of Saucer");
        const QString unbroken = QStringLiteral("Quenchalot").repeated(6).left(59);
        QTest::newRow("35 characters") << spaced.left(35) << MainView::minimumViewSize;
        QTest::newRow("59 characters") << spaced << MainView::minimumViewSize;
        QTest::newRow("59 characters in one word") << unbroken << MainView::minimumViewSize;
        QTest::newRow("59 characters in one word, wide") << unbroken << QSize(1500, 900);
    }

    // A long name wraps (inside a word when it must) or ends in an ellipsis with the whole name in
    // the tooltip: the crew's columns stay equal, and every card, the banner and their buttons
    // stay inside the window, on every page the name shows.
    void longCompanionNamesStayInsideTheWindow()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QList<CharacterPack> packs = store_->packs();
        packs[1].name = name;
        store_->setPacks(packs);
        store_->update([&](Preferences& preferences) { preferences.companionID = packs[1].id; });
        store_->setNotice(QStringLiteral("Couldn't open that care package: it isn't one."));
        view_->resize(size);
        auto* scroll = view_->findChild<QScrollArea*>(QStringLiteral("pageScroll"));
        const auto inside = [&](QWidget* widget) {
            const QRect place(widget->mapTo(scroll->viewport(), QPoint()), widget->size());
            return place.left() >= 0 && place.right() < scroll->viewport()->width();
        };

        for (MainPage page : {MainPage::dashboard, MainPage::crew}) {
            store_->setSelectedPage(title(page));
            QApplication::processEvents();
            QVERIFY2(scroll->widget()->width() <= scroll->viewport()->width(), qPrintable(title(page)));
            auto* banner = view_->findChild<NoticeBanner*>();
            QVERIFY(inside(banner) && inside(button(banner, "noticeClose")));
        }

        const QList<PackCard*> cards = view_->pageWidget()->findChildren<PackCard*>();
        QCOMPARE(cards.size(), packs.size());
        for (PackCard* card : cards) {
            QVERIFY(inside(card) && inside(card->chooseButton()) && inside(card->tryButton()));
            QCOMPARE(card->width(), cards.first()->width());
        }
        const auto whole = [](const ClampedLabel* label) {
            return label->shownLines().join(QString()).remove(QLatin1Char(' '))
                   == QString(label->text()).remove(QLatin1Char(' '));
        };
        const auto* onDuty = view_->pageWidget()->findChild<ClampedLabel*>(QStringLiteral("onDuty"));
        QVERIFY2(whole(onDuty), qPrintable(onDuty->shownLines().join(QLatin1Char('|'))));
        PackCard* chosen = cards.at(1);
        auto* shownName = chosen->findChild<ClampedLabel*>(QStringLiteral("packName"));
        QVERIFY(whole(shownName) || chosen->pictureButton()->toolTip() == name);
        QCOMPARE(QAccessible::queryAccessibleInterface(shownName)->text(QAccessible::Name), name);
        QCOMPARE(QAccessible::queryAccessibleInterface(chosen->pictureButton())->text(QAccessible::Name),
                 QStringLiteral("Choose ") + name);
    }

    void closingAnUnfinishedTourFinishesIt()
    {
        TourSheet* sheet = view_->tourSheet();
        QVERIFY(!sheet->isVisible());
        const QList<std::function<void()>> closers{
            [&] { QTest::mouseClick(button(sheet, "skipTour"), Qt::LeftButton); },
            [&] { QTest::keyClick(sheet, Qt::Key_Escape); },
            [&] { store_->setTourVisible(false); },
        };
        for (const auto& close : closers) {
            store_->mutateState([](SavedState& state) { state.tourVersion = 0; });
            store_->presentTourIfNeeded();
            QVERIFY(sheet->isVisible());
            close();
            QVERIFY(!sheet->isVisible());
            QVERIFY(!store_->tourVisible());
            QCOMPARE(store_->state().tourVersion, 1);
        }
        // A finished tour shown again and dismissed stays finished.
        store_->presentTour();
        sheet->reject();
        QVERIFY(!store_->tourVisible());
        QCOMPARE(store_->state().tourVersion, 1);
    }

    void eachOpeningBuildsAFreshTour()
    {
        TourSheet* sheet = view_->tourSheet();
        store_->presentTour();
        QPointer<OnboardingView> first = sheet->tour();
        QTest::keyClick(first, Qt::Key_Return);  // on to the name step
        QCOMPARE(first->step(), 1);
        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(!sheet->isVisible());
        QTRY_VERIFY(!first);

        store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("sprout"); });
        store_->presentTour();
        QCOMPARE(sheet->tour()->step(), 0);
        QCOMPARE(sheet->tour()->choices().companionID, QStringLiteral("sprout"));
        QCOMPARE(sheet->tour()->size(), QSize(620, 700));
    }

    // "Take the little tour again" starts every choice from its own saved value. The two rows
    // differ from the defaults and, switch by switch, from each other.
    void theTourAgainStartsFromTheSavedChoices_data()
    {
        addColumns<QString, QString, int, int, QList<bool>, QString>("companion", "buddy", "interval", "focus",
                                                                     "switches", "name");
        // switches: quiet hours, eye rest, movement, pet names
        QTest::newRow("eye rest, pet names") << "vuzo"
                                             << "Vuzo" << 90 << 25 << QList<bool>{false, true, false, true} << "";
        QTest::newRow("movement, own name") << "viru"
                                            << "Viru" << 15 << 120 << QList<bool>{false, false, true, false} << "Robin";
    }

    void theTourAgainStartsFromTheSavedChoices()
    {
        QFETCH(QString, companion);
        QFETCH(QString, buddy);
        QFETCH(int, interval);
        QFETCH(int, focus);
        QFETCH(QList<bool>, switches);
        QFETCH(QString, name);
        store_->update([&](Preferences& p) {
            p.companionID = companion;
            p.intervalMinutes = interval;
            p.focusMinutes = focus;
            p.quietEnabled = switches[0];
            p.breaks.eyeEnabled = switches[1];
            p.breaks.movementEnabled = switches[2];
            p.useCharacterNicknames = switches[3];
            p.recipient = QStringLiteral("Robin");
        });
        const Preferences saved = store_->preferences();
        store_->setSelectedPage(QStringLiteral("Settings"));
        QTest::mouseClick(button(view_->pageWidget(), "tourAgain"), Qt::LeftButton);
        OnboardingView* tour = view_->tourSheet()->tour();
        QVERIFY(tour);
        const auto on = [tour](const char* control) { return tour->findChild<QAbstractButton*>(control)->isChecked(); };
        const auto next = [tour] { QTest::mouseClick(button(tour, "primaryButton"), Qt::LeftButton); };

        QStringList chosen;
        for (const CompanionCard* card : tour->findChildren<CompanionCard*>()) {
            if (card->isSelected())
                chosen.append(card->text());
        }
        QCOMPARE(chosen, QStringList{buddy});
        next();
        QCOMPARE(tour->findChild<QLineEdit*>(QStringLiteral("nameField"))->text(), name);
        QCOMPARE(on("petNameSwitch"), switches[3]);
        next();
        QCOMPARE(labelText(tour->findChild<QWidget*>(QStringLiteral("waterRow")), "stepperTitle"),
                 QStringLiteral("A water break every %1 minutes").arg(interval));
        QCOMPARE(labelText(tour->findChild<QWidget*>(QStringLiteral("focusRow")), "stepperTitle"),
                 QStringLiteral("Focus length when you start it: %1 minutes").arg(focus));
        QCOMPARE((QList<bool>{on("quietSwitch"), on("eyeRestSwitch"), on("movementSwitch")}), switches.first(3));
        QTest::mouseClick(button(tour, "skipTour"), Qt::LeftButton);
        QCOMPARE(store_->preferences(), saved);
    }

    // The tour is not modal, so that the window can still be closed behind it; the window takes
    // no input of its own meanwhile, and all of it again afterwards.
    void theWindowBehindTheTourTakesNoInput()
    {
        SidebarButton* reminders = nullptr;
        for (SidebarButton* row : view_->findChildren<SidebarButton*>(QStringLiteral("pageRow")))
            reminders = row->text() == u"Reminders" ? row : reminders;
        QVERIFY(reminders);
        store_->presentTour();
        QVERIFY(view_->tourSheet()->isVisible());
        QTest::mouseClick(reminders, Qt::LeftButton);
        QCOMPARE(store_->selectedPage(), QStringLiteral("Your day"));
        QVERIFY(!view_->findChild<QScrollArea*>()->isEnabled());

        QTest::keyClick(view_->tourSheet(), Qt::Key_Escape);
        QTest::mouseClick(reminders, Qt::LeftButton);
        QCOMPARE(store_->selectedPage(), QStringLiteral("Reminders"));
        QVERIFY(view_->findChild<QScrollArea*>()->isEnabled());
    }

private:
    QList<SidebarButton*> highlighted() const
    {
        QList<SidebarButton*> selected;
        for (SidebarButton* entry : view_->findChildren<SidebarButton*>()) {
            if (entry->isSelected())
                selected.append(entry);
        }
        return selected;
    }

    std::unique_ptr<MainView> view_;
};

QTEST_MAIN(MainViewTest)
#include "test_main_view.moc"
