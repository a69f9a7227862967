// The console's alarm states without a window or a ship: items described as the
// ship file would, driven as the library would drive them, with a clock moved by hand.

#include "alarm_state.h"
#include "console_clock.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <optional>

namespace {

using State = AlarmState::State;
constexpr qint64 kStart = 1700000000000LL;
constexpr qint64 kMinute = 60000;
constexpr quint64 kDeckA = 1;

class FakeClock : public ConsoleClock
{
public:
    qint64 nowMs() const override { return now; }
    qint64 now = kStart;
};

/// One scenario: steps on items A (deck 1, group "smoke", alarm priority),
/// B (deck 2, emergency) and C (deck 1, no acknowledgement point), then what
/// A (or the item named last in the row) must show.
struct Scenario {
    const char* name;
    const char* steps;
    State state;
    bool listed;
    bool shelved;
    bool firstOut;
    std::optional<AlarmPriority> announced;
    int unacknowledgedOnDeckA;
    int expired;
    int acknowledgedWithoutFlag;
    char item = 'A';
};

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

constexpr auto kAlarm = AlarmPriority::Alarm;
constexpr auto kEmergency = AlarmPriority::Emergency;
const std::nullopt_t kSilent = std::nullopt;

const Scenario kScenarios[] = {
    {"raise", "raise A", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"server's flag acknowledges", "raise A; flag A", State::AcknowledgedActive, true, false, true, kSilent, 0, 0, 0},
    {"operator's ack waits for the flag", "raise A; ack A", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"clear after ack", "raise A; flag A; clear A", State::Normal, false, false, false, kSilent, 0, 0, 0},
    {"clear before ack stays listed", "raise A; clear A", State::UnacknowledgedCleared, true, false, true, kSilent, 1, 0, 0},
    {"ack of cleared ends it", "raise A; clear A; ack A", State::Normal, false, false, false, kSilent, 0, 0, 1},
    {"clearing that overtakes the flag ends it", "raise A; ack A; clear A", State::Normal, false, false, false, kSilent, 0, 0, 1},
    {"cleared ends when acknowledged elsewhere", "raise A; clear A; remote A 0", State::Normal, false, false, false, kSilent, 0, 0, 0},
    {"an earlier alarm's ack elsewhere leaves it", "raise A; clear A; remote A -1", State::UnacknowledgedCleared, true, false, true, kSilent, 1, 0, 0},
    {"no point: acknowledged here, values do not undo it", "raise C; ack C; value C", State::AcknowledgedActive, true, false, true, kSilent, 0, 0, 1, 'C'},
    {"no point: acknowledged elsewhere", "raise C; remote C 0", State::AcknowledgedActive, true, false, true, kSilent, 0, 0, 0, 'C'},
    {"flag during a flip is ignored", "flag A", State::Normal, false, false, false, kSilent, 0, 0, 0},
    {"shelved is silent", "raise A; shelve A 10", State::UnacknowledgedActive, true, true, true, kSilent, 0, 0, 0},
    {"shelving holds to its end", "raise A; shelve A 10; wait 599999", State::UnacknowledgedActive, true, true, true, kSilent, 0, 0, 0},
    {"shelving expires", "raise A; shelve A 10; wait 600000", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 1, 0},
    {"shelving is clamped to the limit", "limit 5; raise A; shelve A 60; wait 300000", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 1, 0},
    {"shelved alarm clears and stays listed", "raise A; flag A; shelve A 10; clear A", State::Normal, true, true, true, kSilent, 0, 0, 0},
    {"its expiry then unlists it", "raise A; flag A; shelve A 10; clear A; wait 600000", State::Normal, false, false, false, kSilent, 0, 1, 0},
    {"unshelve", "raise A; shelve A 10; unshelve A", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"normal is not shelved", "shelve A 10", State::Normal, false, false, false, kSilent, 0, 0, 0},
    {"suppressed by its group", "raise A; hide smoke", State::UnacknowledgedActive, true, false, true, kSilent, 0, 0, 0},
    {"shown again", "raise A; hide smoke; show smoke", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"another group leaves it", "raise A; hide fire", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"stale keeps the state", "raise A; stale", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"second is not first-out", "raise B; raise A", State::UnacknowledgedActive, true, false, false, kEmergency, 1, 0, 0},
    {"first-out after the incident ended", "raise B; flag B; clear B; raise A", State::UnacknowledgedActive, true, false, true, kAlarm, 1, 0, 0},
    {"first-out keeps its mark while the incident lasts", "raise A; raise B; flag A; clear A; raise A", State::UnacknowledgedActive, true, false, true, kEmergency, 1, 0, 0},
    {"a shelved row keeps the incident going", "raise B; flag B; shelve B 10; clear B; raise A", State::UnacknowledgedActive, true, false, false, kAlarm, 1, 0, 0},
};

class AlarmStateTest : public ::testing::TestWithParam<Scenario>
{
protected:
    void SetUp() override
    {
        a_ = alarms_.addItem({QStringLiteral("A"), QStringLiteral("A.ACK"), kDeckA, 11, 0, {}, {}, {}, {},
                              QStringLiteral("smoke"), kAlarm, {}});
        b_ = alarms_.addItem({QStringLiteral("B"), QStringLiteral("B.ACK"), 2, 21, 1, {}, {}, {}, {}, {}, kEmergency, {}});
        c_ = alarms_.addItem({QStringLiteral("C"), {}, kDeckA, 12, 2, {}, {}, {}, {}, {}, kAlarm, {}});
    }

    int idOf(const QString& name) const
    {
        return name == QLatin1String("B") ? b_ : name == QLatin1String("C") ? c_ : a_;
    }

    void run(const QString& steps)
    {
        for (const QString& step : steps.split(QLatin1Char(';'))) {
            const QStringList w = step.simplified().split(QLatin1Char(' '));
            const int id = idOf(w.value(1));
            const QString op = w.at(0);
            if (op == QLatin1String("raise"))
                alarms_.stateChanged(id, true, true);
            else if (op == QLatin1String("flag"))
                alarms_.acknowledgementChanged(id, true, false);
            else if (op == QLatin1String("clear"))
                alarms_.stateChanged(id, false, false);
            else if (op == QLatin1String("value"))
                alarms_.acknowledgementChanged(id, true, true);
            else if (op == QLatin1String("ack"))
                alarms_.acknowledgedByOperator(id);
            else if (op == QLatin1String("remote"))
                alarms_.acknowledgedElsewhere(id, clock_.now + w.at(2).toLongLong(), QStringLiteral("bridge"));
            else if (op == QLatin1String("shelve"))
                alarms_.shelve(id, QStringLiteral("maintenance"), w.at(2).toInt());
            else if (op == QLatin1String("unshelve"))
                alarms_.unshelve(id);
            else if (op == QLatin1String("limit"))
                alarms_.setShelveLimitMinutes(w.at(1).toInt());
            else if (op == QLatin1String("hide") || op == QLatin1String("show"))
                alarms_.setGroupSuppressed(w.at(1), op == QLatin1String("hide"));
            else if (op == QLatin1String("stale"))
                alarms_.setStale(true);
            else if (op == QLatin1String("wait")) {
                clock_.now += w.at(1).toLongLong();
                alarms_.expireShelving(); // what the shelving timer does each second
            } else
                FAIL() << "unknown step " << step.toStdString();
        }
    }

    FakeClock clock_;
    AlarmState alarms_{clock_};
    int a_ = -1;
    int b_ = -1;
    int c_ = -1;
};

} // namespace

TEST_P(AlarmStateTest, WalksThroughItsStates)
{
    const Scenario& s = GetParam();
    QSignalSpy expired(&alarms_, &AlarmState::shelvingExpired);
    QSignalSpy withoutFlag(&alarms_, &AlarmState::acknowledgedWithoutFlag);
    run(QLatin1String(s.steps));
    const int id = idOf(QString(QLatin1Char(s.item)));
    const AlarmState::Alarm& a = *alarms_.alarm(id);
    EXPECT_EQ(a.state, s.state);
    EXPECT_EQ(alarms_.listed().contains(id), s.listed);
    EXPECT_EQ(a.shelved, s.shelved);
    EXPECT_EQ(a.firstOut, s.firstOut);
    EXPECT_EQ(alarms_.mostUrgentToAnnounce(), s.announced);
    EXPECT_EQ(alarms_.unacknowledgedCount(kDeckA), s.unacknowledgedOnDeckA);
    EXPECT_EQ(alarms_.isListed(id), s.listed);
    // The counts kept as alarms change agree with a count over the list.
    for (const quint64 deck : {kDeckA, quint64(2)}) {
        const QVector<int>& listed = alarms_.listed();
        EXPECT_EQ(alarms_.activeCount(deck), std::count_if(listed.cbegin(), listed.cend(), [&](int other) {
                      return AlarmState::isActive(alarms_.alarm(other)->state) && alarms_.alarm(other)->item.deck == deck;
                  }));
    }
    EXPECT_EQ(expired.count(), s.expired);
    EXPECT_EQ(withoutFlag.count(), s.acknowledgedWithoutFlag);
    EXPECT_EQ(alarms_.isStale(), QLatin1String(s.steps).contains(QLatin1String("stale")));
    // Raised at the clock's time, and a shelving ends by it too.
    if (a.state != State::Normal) {
        EXPECT_EQ(a.raised, kStart);
    }
    if (a.shelved) {
        EXPECT_EQ(a.shelvedUntil, kStart + 10 * kMinute);
    }
}

INSTANTIATE_TEST_SUITE_P(Console, AlarmStateTest, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
