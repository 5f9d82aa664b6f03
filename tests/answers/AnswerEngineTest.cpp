#include "AnswerEngine.h"
#include "AnswerFamilies.h"
#include "AnswerRecord.h"
#include "SearchController.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

namespace {

// Answers every query with "=query", for queries it is given.
class EchoFamily : public AnswerFamily
{
public:
    explicit EchoFamily(QString key = QStringLiteral("AnswersEcho"))
        : mKey(std::move(key))
    {
    }
    QString preferenceKey() const override { return mKey; }
    QList<QVariantMap> answer(const QString &query, int) override
    {
        return {AnswerRecord::make(mKey, QLatin1Char('=') + query, query)};
    }

private:
    QString mKey;
};

// Holds the worker on one query until released, as a calculation that runs long does.
class HeldFamily : public EchoFamily
{
public:
    QList<QVariantMap> answer(const QString &query, int limit) override
    {
        std::unique_lock lock(mutex);
        if (query == held) {
            holding = true;
            changed.notify_all();
            changed.wait(lock, [this] { return released; });
        }
        return EchoFamily::answer(query, limit);
    }
    void waitHolding()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return holding; });
    }
    void release()
    {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }

    QString held;
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false;
    bool released = false;
};

// Moves the engine's clock past the limit while it answers.
class SlowFamily : public EchoFamily
{
public:
    SlowFamily(qint64 &clock)
        : EchoFamily(QStringLiteral("AnswersSlow"))
        , mClock(clock)
    {
    }
    QList<QVariantMap> answer(const QString &query, int limit) override
    {
        mClock += limit + 1;
        return EchoFamily::answer(query, limit);
    }

private:
    qint64 &mClock;
};

QStringList titles(const SearchController &search)
{
    QStringList result;
    for (const FoundItem &item : search.displayedList())
        result << item.record().value(ItemRecord::KeyTitle).toString();
    return result;
}

SearchSources applications()
{
    SearchSources sources;
    for (const char *title : {"Mail", "Maps", "Music"})
        sources.applications.append(QVariantMap{{"x", 1}, {"T", title}});
    return sources;
}

bool settled(SearchController &search, const QString &query)
{
    return QTest::qWaitFor(
        [&] { return !search.isSearchRunning() && search.displayedQuery() == query; });
}

} // namespace

TEST(AnswerEngine, AnswersLeadTheFoundItemsUnderTheFilterAllOnly)
{
    SearchController search([] { return applications(); });
    AnswerEngine engine;
    engine.addFamily(std::make_unique<EchoFamily>());
    search.setAnswerAsker([&engine](const QString &query) { engine.ask(query); });
    QObject::connect(&engine, &AnswerEngine::answered, &search, &SearchController::showAnswers);

    search.searchFieldModified("ma");
    ASSERT_TRUE(settled(search, "ma"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return search.answerRowCount() == 1; }));
    EXPECT_EQ(titles(search), QStringList({"=ma", "Mail", "Maps"}));
    EXPECT_EQ(search.totalItems(), 4);

    // Typed on: the rows answer the new text, never the old one's answer beside it.
    search.searchFieldModified("mu");
    ASSERT_TRUE(settled(search, "mu"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return search.answerRowCount() == 1; }));
    EXPECT_EQ(titles(search), QStringList({"=mu", "Music"}));

    search.groupChanged(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search.isSearchRunning(); }));
    EXPECT_EQ(search.answerRowCount(), 0);
    EXPECT_EQ(titles(search), QStringList({"Music"}));

    // Back to "all": asked again, shown again.
    search.groupChanged(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return search.answerRowCount() == 1; }));
    EXPECT_EQ(titles(search), QStringList({"=mu", "Music"}));

    // A family switched off is not asked.
    engine.setEnabled("AnswersEcho", false);
    search.searchFieldModified("map");
    ASSERT_TRUE(settled(search, "map"));
    EXPECT_EQ(titles(search), QStringList({"Maps"}));
}

TEST(AnswerEngine, AnAnswerForAnOlderQueryIsDropped)
{
    AnswerEngine engine;
    auto family = std::make_unique<HeldFamily>();
    HeldFamily &held = *family;
    held.held = "1";
    engine.addFamily(std::move(family));
    QSignalSpy answered(&engine, &AnswerEngine::answered);

    engine.ask("1");
    held.waitHolding();
    engine.ask("1+"); // waits for the worker, then forgotten
    engine.ask("1+2");
    held.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered.count() > 0; }));
    QCoreApplication::processEvents();
    ASSERT_EQ(answered.count(), 1);
    EXPECT_EQ(answered.at(0).at(0).toString(), "1+2");
}

TEST(AnswerEngine, AFamilyPastTheTimeLimitIsLeftOutAndTheOthersKept)
{
    qint64 clock = 0;
    AnswerEngine engine;
    engine.setClock([&clock] { return clock; });
    engine.addFamily(std::make_unique<SlowFamily>(clock));
    engine.addFamily(std::make_unique<EchoFamily>());
    QSignalSpy answered(&engine, &AnswerEngine::answered);
    engine.ask("7");
    ASSERT_TRUE(answered.wait());
    const auto rows = answered.at(0).at(1).value<QList<QVariantMap>>();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0).value(AnswerRecord::KeyFamily).toString(), "AnswersEcho");
}

TEST(AnswerEngine, AnswersForATextNoLongerTypedAreNotShown)
{
    SearchController search([] { return applications(); });
    search.searchFieldModified("mail");
    ASSERT_TRUE(settled(search, "mail"));
    const QList<QVariantMap> late = {AnswerRecord::make("AnswersEcho", "=mai", "mai")};
    search.showAnswers("mai", late);
    EXPECT_EQ(titles(search), QStringList({"Mail"}));
    // The same answer for the text shown is taken at once, without waiting for a pass.
    search.showAnswers("mail", {AnswerRecord::make("AnswersEcho", "=mail", "mail")});
    EXPECT_EQ(titles(search), QStringList({"=mail", "Mail"}));
    EXPECT_EQ(search.selectionInformation(), "2 / 4");
}

TEST(AnswerFamilies, TheManagersSwitchesAndKeywordListReachTheFamilies)
{
    TemporaryHome home;
    SharedPreferences preferences;
    AnswerEngine engine;
    AnswerFamilies families(engine);
    families.applyPreferences(preferences);
    for (const QString &key : AnswerFamilies::preferenceKeys())
        EXPECT_TRUE(engine.isEnabled(key)) << key.toStdString();

    preferences.setValue("AnswersCalculator", 0);
    preferences.setValue(
        "AnswersWebKeywordList",
        QVariantList{QVariantMap{
            {"keyword", "pi"}, {"name", "MDN"}, {"address", "https://mdn.example/?q=<<QUERY>>"}}});
    ASSERT_TRUE(preferences.synchronize());
    families.applyPreferences(SharedPreferences());
    EXPECT_FALSE(engine.isEnabled("AnswersCalculator"));
    EXPECT_TRUE(engine.isEnabled("AnswersWebKeywords"));

    QSignalSpy answered(&engine, &AnswerEngine::answered);
    engine.ask("pi 2"); // which the calculator reads as 2π
    ASSERT_TRUE(answered.wait());
    const auto rows = answered.at(0).at(1).value<QList<QVariantMap>>();
    ASSERT_EQ(rows.size(), 1); // the web keyword only: the calculator is off
    EXPECT_EQ(rows.first().value(AnswerRecord::KeyOpenAddress).toString(),
              "https://mdn.example/?q=2");
}
