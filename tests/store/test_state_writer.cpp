#include "store/StateFile.h"
#include "store/StateWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A state that takes a while to write: three years of drinks.
SavedState longHistory(const QString& note)
{
    SavedState state;
    const QDateTime start(QDate(2023, 1, 1), QTime(8, 0), Qt::UTC);
    for (int i = 0; i < 30000; ++i)
        state.drinks.append({QUuid::createUuid(), start.addSecs(i * 3000), 250});
    state.preferences.loveNote = note;
    return state;
}

SavedState withNote(const QString& note)
{
    SavedState state;
    state.preferences.loveNote = note;
    return state;
}

}  // namespace

// Writes in the background never overtake each other or a write at once: the newest state
// handed in is the one on disk.
class StateWriterTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        file_ = std::make_unique<StateFile>(folder_->path(), true);
    }

    void aWriteAtOnceLandsAfterTheOneInFlight()
    {
        int reported = 0;
        StateWriter writer(*file_, [&](const StateWriter::Outcome&) { ++reported; });
        writer.writeInBackground(longHistory(QStringLiteral("older")));
        SavedState newer = withNote(QStringLiteral("newer"));
        writer.writeNow(newer);
        QCOMPARE(reported, 1);
        QCOMPARE(savedNote(), QStringLiteral("newer"));
        QTRY_VERIFY(!writer.isWriting());
        QCOMPARE(savedNote(), QStringLiteral("newer"));
    }

    void onlyTheNewestWaitingStateIsWrittenNext()
    {
        StateWriter writer(*file_, {});
        writer.writeInBackground(longHistory(QStringLiteral("first")));
        writer.writeInBackground(withNote(QStringLiteral("second")));
        writer.writeInBackground(withNote(QStringLiteral("third")));
        QTRY_VERIFY(!writer.isWriting());
        QCOMPARE(savedNote(), QStringLiteral("third"));
    }

    // History past the file's limit goes to an archive in the background too; the outcome names
    // the records that left, so that the owner can take them out of its own state.
    void archivedRecordsAreNamed()
    {
        StateFile small(folder_->path(), true, {.limit = 64 * LocalFiles::KiB});
        std::optional<StateWriter::Outcome> outcome;
        StateWriter writer(small, [&](const StateWriter::Outcome& finished) { outcome = finished; });
        const SavedState everything = longHistory(QStringLiteral("full"));
        writer.writeInBackground(everything);
        QTRY_VERIFY(outcome.has_value());
        QVERIFY(outcome->archived && !outcome->failure);
        const SavedState kept = StateFile(folder_->path(), true).load().state;
        QCOMPARE(qsizetype(outcome->archivedRecords.size()) + kept.drinks.size(), everything.drinks.size());
        for (const Drink& drink : kept.drinks)
            QVERIFY(!outcome->archivedRecords.contains(drink.id));
    }

    // A failure is reported; a writer closing with a write in flight lets it finish.
    void failuresAreReportedAndClosingWaits()
    {
        QStringList failures;
        const auto failed = [&](const StateWriter::Outcome& outcome) {
            if (outcome.failure)
                failures.append(*outcome.failure);
        };
        const QString notAFolder = folder_->filePath(QStringLiteral("a-file"));
        QFile blocker(notAFolder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        StateFile unwritable(notAFolder, true);
        StateWriter failing(unwritable, failed);
        failing.writeInBackground(withNote(QStringLiteral("lost")));
        QTRY_COMPARE(failures.size(), 1);
        QVERIFY(!failures.first().isEmpty());

        {
            StateWriter closing(*file_, [](const StateWriter::Outcome&) { QFAIL("closing reports nothing"); });
            closing.writeInBackground(longHistory(QStringLiteral("kept")));
        }
        QCOMPARE(savedNote(), QStringLiteral("kept"));
    }

private:
    QString savedNote() const
    {
        QFile saved(file_->path());
        if (!saved.open(QIODevice::ReadOnly))
            return QStringLiteral("<no file>");
        const QJsonObject state = QJsonDocument::fromJson(saved.readAll()).object();
        return state[QStringLiteral("preferences")][QStringLiteral("loveNote")].toString();
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<StateFile> file_;
};

QTEST_GUILESS_MAIN(StateWriterTest)
#include "test_state_writer.moc"
