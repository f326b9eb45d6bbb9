#include "reminders/tour/OnboardingView.h"
#include "support/PageTesting.h"
#include "window/ChoicePicker.h"
#include "window/MainView.h"
#include "window/Stepper.h"
#include "window/TourSheet.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace StoreTesting;

namespace {

// One notch of the wheel, turned away from the user (up the page, a value up), with the pointer
// over the middle of `widget`.
void turnWheelOver(QWidget* widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QWheelEvent notch(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &notch);
}

int shownValue(const QWidget* control)
{
    if (const auto* picker = qobject_cast<const ChoicePicker*>(control))
        return picker->currentIndex();
    return static_cast<const Stepper*>(control)->value();
}

}  // namespace

// Reading down a page with the wheel never changes a setting on the way: a picker or stepper
// under the pointer lets the page scroll, until the user clicks or tabs into it.
class WheelOverControlsTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init()
    {
        view_ = showOnNewStore<MainView>(MainView::minimumViewSize);
        view_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view_.get()));
        // Every control usable.
        store_->update([](Preferences& p) {
            p.safeguards.pauseWhenIdle = true;
            p.breaks.eyeEnabled = p.breaks.movementEnabled = true;
        });
    }

    void cleanup()
    {
        view_.reset();
        closeStore();
    }

    void theWheelScrollsPastControlsWithoutTheFocus()
    {
        auto* scroll = view_->findChild<QScrollArea*>(QStringLiteral("pageScroll"));
        QScrollBar* bar = scroll->verticalScrollBar();
        int controls = 0;
        for (const MainPage page : sidebarPages() + QList<MainPage>{MainPage::settings}) {
            store_->setSelectedPage(title(page));
            scroll->widget()->setMinimumHeight(3000);  // room to scroll on every page
            QApplication::processEvents();
            QList<QWidget*> found;
            for (ChoicePicker* picker : view_->pageWidget()->findChildren<ChoicePicker*>())
                found.append(picker);
            for (Stepper* stepper : view_->pageWidget()->findChildren<Stepper*>())
                found.append(stepper);
            for (QWidget* control : found) {
                const QString where = title(page) + QStringLiteral(": ") + control->accessibleName();
                QVERIFY2(control->isEnabled(), qPrintable(where));
                bar->setValue(bar->maximum());
                const Preferences before = store_->preferences();
                const int shown = shownValue(control);

                turnWheelOver(control);
                QVERIFY2(store_->preferences() == before, qPrintable(where));
                QVERIFY2(shownValue(control) == shown, qPrintable(where));
                QVERIFY2(bar->value() < bar->maximum(), qPrintable(where));
                QVERIFY2(!control->hasFocus(), qPrintable(where));

                // Clicked or tabbed into, it is the control the wheel turns.
                bar->setValue(bar->maximum());
                control->setFocus(Qt::TabFocusReason);
                turnWheelOver(control);
                QVERIFY2(shownValue(control) != shown, qPrintable(where));
                QVERIFY2(bar->value() == bar->maximum(), qPrintable(where));
                control->clearFocus();
                ++controls;
            }
        }
        // Interval, glass, goal and the two quiet hours; focus and meeting lengths and the four
        // break steppers; the away time.
        QCOMPARE(controls, 12);
    }

    // The tour has no scroll area; a wheel anywhere over it changes none of its choices.
    void theWheelChangesNoChoiceOfTheTour()
    {
        store_->presentTour();
        OnboardingView* tour = view_->tourSheet()->tour();
        for (int step = 0; step <= OnboardingView::lastStep; ++step) {
            for (QWidget* widget : tour->findChildren<QWidget*>()) {
                if (widget->isVisible())
                    turnWheelOver(widget);
            }
            const TourChoices seeded = TourChoices::seededFrom(store_->preferences());
            const TourChoices& now = tour->choices();
            QCOMPARE(now.companionID, seeded.companionID);
            QCOMPARE(now.interval, seeded.interval);
            QCOMPARE(now.focusMinutes, seeded.focusMinutes);
            QCOMPARE((QList<bool>{now.quiet, now.eyeRest, now.movement, now.useCharacterNicknames}),
                     (QList<bool>{seeded.quiet, seeded.eyeRest, seeded.movement, seeded.useCharacterNicknames}));
            QCOMPARE(tour->step(), step);
            if (step < OnboardingView::lastStep)
                QTest::mouseClick(tour->findChild<QWidget*>(QStringLiteral("primaryButton")), Qt::LeftButton);
        }
    }

private:
    std::unique_ptr<MainView> view_;
};

QTEST_MAIN(WheelOverControlsTest)
#include "test_wheel_over_controls.moc"
