#include "model/CompanionMotion.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestCompanion : public QObject {
    Q_OBJECT

private slots:
    void walkOffsetAtItsEdges()
    {
        struct Case {
            CompanionPhase phase;
            double elapsed;
            bool declined;
            double offset;
        };
        constexpr auto entering = CompanionPhase::entering;
        constexpr auto leaving = CompanionPhase::leaving;
        constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
        for (const Case& c :
             {Case{entering, 0.0, false, 320.0}, Case{entering, -3.0, false, 320.0},
              Case{entering, notANumber, false, 320.0}, Case{entering, 1.0, false, 160.0},
              Case{entering, 2.0, false, 0.0}, Case{entering, 1.0, true, 160.0}, Case{leaving, notANumber, true, 0.0},
              Case{leaving, 2.0, false, 320.0}, Case{leaving, 1.6, true, 160.0}, Case{leaving, 2.0, true, 200.0},
              Case{leaving, 3.2, true, 320.0}, Case{leaving, HUGE_VAL, true, 320.0},
              Case{CompanionPhase::declined, 1.0, true, 0.0}}) {
            const auto response = c.declined ? std::optional(CompanionPhase::declined) : std::nullopt;
            QCOMPARE(CompanionMotion::horizontalOffset(c.phase, c.elapsed, response), c.offset);
        }
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "test_companion.moc"
