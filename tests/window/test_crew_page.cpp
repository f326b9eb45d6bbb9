#include "support/PageTesting.h"
#include "support/TableTesting.h"
#include "ui/ClampedLabel.h"
#include "ui/FilledCard.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/SoftButton.h"
#include "ui/SymbolLabel.h"
#include "window/CardButton.h"
#include "window/CrewPage.h"
#include "window/PackCard.h"

#include <QAccessible>
#include <QGridLayout>
#include <QSignalSpy>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

// "The little crew" on a real store with the built-in companions.
class CrewPageTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init() { page_ = showOnNewStore<CrewPage>(QSize(700, 1400)); }

    void cleanup()
    {
        page_.reset();
        closeStore();
    }

    void oneCardPerPackInTheStoresOrder()
    {
        QStringList shown;
        for (PackCard* card : page_->cards()) {
            shown.append(card->pack().id);
            QCOMPARE(card->pictureButton()->accessibleName(), QStringLiteral("Choose ") + card->pack().name);
            QCOMPARE(card->tryButton()->toolTip(),
                     QStringLiteral("Preview %1 without switching your buddy or logging water").arg(card->pack().name));
        }
        QStringList packs;
        for (const CharacterPack& pack : store_->packs())
            packs.append(pack.id);
        QCOMPARE(shown, packs);
        expectCurrent(store_->preferences().companionID);
    }

    // Choosing moves the check mark, the outline and "On duty" to the chosen card; the picture
    // of the current card still writes the same choice once.
    void choosingMovesTheDuty()
    {
        PackCard* second = page_->cards().at(1);
        QTest::mouseClick(second->chooseButton(), Qt::LeftButton);
        QCOMPARE(store_->preferences().companionID, second->pack().id);
        expectCurrent(second->pack().id);
        QCOMPARE(labelText(page_.get(), "onDuty"), second->pack().name + QStringLiteral(" is on duty."));

        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        QTest::mouseClick(second->chooseButton(), Qt::LeftButton);
        QCOMPARE(updates.count(), 0);  // "On duty" is disabled
        QTest::mouseClick(second->pictureButton(), Qt::LeftButton);
        QCOMPARE(updates.count(), 1);
        expectCurrent(second->pack().id);

        PackCard* first = page_->cards().at(0);
        first->pictureButton()->setFocus();
        QTest::keyClick(first->pictureButton(), Qt::Key_Space);
        expectCurrent(first->pack().id);
    }

    // A stored companion that is not loaded: no card is current, the first pack is on duty.
    void unknownCompanionLeavesNoCardCurrent()
    {
        store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("gone"); });
        expectCurrent(QStringLiteral("gone"));
        QCOMPARE(labelText(page_.get(), "onDuty"), store_->packs().first().name + QStringLiteral(" is on duty."));
    }

    void tryingPreviewsWithoutChoosing()
    {
        const QString chosen = store_->preferences().companionID;
        for (PackCard* card : {page_->cards().at(0), page_->cards().at(2)}) {
            QTest::mouseClick(card->tryButton(), Qt::LeftButton);
            QVERIFY(store_->reminderVisible() && store_->preview());
            QCOMPARE(store_->reminderKind(), ReminderKind::water);
            QCOMPARE(store_->presentedCompanion().id, card->pack().id);
            store_->answerYes();
            store_->dismiss();
        }
        QCOMPARE(store_->preferences().companionID, chosen);
        QVERIFY(store_->today().isEmpty());
        expectCurrent(chosen);
    }

    // Cards are made again only when the packs change: an odd count leaves the last card alone
    // in the left column, and a long subtitle is cut after two lines.
    void cardsFollowThePacks()
    {
        PackCard* first = page_->cards().first();
        store_->tick(morning().addSecs(5));
        QCOMPARE(page_->cards().first(), first);

        QList<CharacterPack> packs = store_->packs().mid(0, 3);
        packs[2].subtitle = QStringLiteral("A very long subtitle that goes on and on about this little companion, its "
                                           "favourite cups, its mornings, its evenings and its many opinions on tea");
        store_->setPacks(packs);
        QCOMPARE(page_->cards().size(), 3);
        auto* grid = page_->findChild<QGridLayout*>();
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(page_->cards().at(2)), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, 1);
        QCOMPARE(column, 0);
        QApplication::processEvents();
        const QStringList lines =
            page_->cards().at(2)->findChild<ClampedLabel*>(QStringLiteral("packSubtitle"))->shownLines();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.last().endsWith(QChar(0x2026)));
    }

    // Each card's buttons say which companion they are for; the one on duty says so.
    void buttonsNameTheirCompanion()
    {
        store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("viru"); });
        const auto heard = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); };
        for (PackCard* card : page_->cards()) {
            const QString name = card->pack().name;
            const bool current = card->pack().id == QLatin1String("viru");
            QAccessibleInterface* choose = heard(card->chooseButton());
            QCOMPARE(choose->text(QAccessible::Name),
                     current ? name + QStringLiteral(" is on duty") : QStringLiteral("Choose ") + name);
            QCOMPARE(bool(choose->state().disabled), current);
            QCOMPARE(heard(card->tryButton())->text(QAccessible::Name), QStringLiteral("Try ") + name);
        }
    }

    // "On duty" is read as body text is, at 4.5:1 or more against its card, measured on the
    // drawn pixels, whatever the desktop's own colours.
    void onDutyIsReadable_data()
    {
        addColumns<QColor>("desktop");
        QTest::newRow("light desktop") << QColor(Qt::white);
        QTest::newRow("dark desktop") << QColor(0x20, 0x20, 0x20);
    }

    void onDutyIsReadable()
    {
        QFETCH(QColor, desktop);
        const QPalette before = QApplication::palette();
        QApplication::setPalette(QPalette(desktop));
        page_ = showOnStore<CrewPage>(QSize(700, 1400));
        PackCard* current = page_->cards().first();
        QVERIFY(current->isCurrent());
        const QImage drawn = current->grab().toImage();
        QApplication::setPalette(before);

        const QRect place(current->chooseButton()->mapTo(current, QPoint()), current->chooseButton()->size());
        const QColor ground = drawn.pixelColor(place.topLeft());
        double best = 1;
        for (int y = place.top(); y <= place.bottom(); ++y) {
            for (int x = place.left(); x <= place.right(); ++x)
                best = std::max(best, contrast(drawn.pixelColor(x, y), ground));
        }
        QVERIFY2(best >= 4.5, qPrintable(QString::number(best)));
    }

private:
    // The contrast ratio of two colours as accessibility guidelines define it: 1 to 21.
    static double contrast(const QColor& one, const QColor& other)
    {
        const auto luminance = [](const QColor& colour) {
            const auto linear = [](double channel) {
                return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
        };
        const double first = luminance(one);
        const double second = luminance(other);
        return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
    }

    void expectCurrent(const QString& id)
    {
        for (PackCard* card : page_->cards()) {
            const bool current = card->pack().id == id;
            QCOMPARE(card->isCurrent(), current);
            QCOMPARE(card->statusSymbol()->name(),
                     current ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"));
            QCOMPARE(card->chooseButton()->text(), current ? QStringLiteral("On duty") : QStringLiteral("Choose"));
            QCOMPARE(card->chooseButton()->isEnabled(), !current);
            QCOMPARE(card->outline().rgb(), current ? Palette::accent().rgb() : Palette::line().rgb());
        }
    }

    std::unique_ptr<CrewPage> page_;
};

QTEST_MAIN(CrewPageTest)
#include "test_crew_page.moc"
