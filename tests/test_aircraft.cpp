// SPDX-License-Identifier: GPL-3.0-or-later
// Aircraft names, the fleet's "differs from most" marks, the record's changes since the
// aircraft's previous configuration, and a history of many aircraft kept within its bound.
#include "aircraft.h"

#include <gtest/gtest.h>

using namespace quelo;

namespace {

constexpr std::size_t kTachVolts = 3;
constexpr std::size_t kMaxRpm = 5;

Snapshot point(const std::string &aircraft, std::int64_t sequence, int maxRpm, int tachVolts = 2,
               SnapshotEvent event = SnapshotEvent::Stored)
{
    Snapshot s;
    s.sequence = sequence;
    s.utcMs = 1'765'000'000'000 + sequence * 60'000;
    s.event = event;
    s.config.firmware = "26";
    s.config.values = {2, 1, 1, tachVolts, -4, maxRpm, 25};
    s.config.aircraft = aircraft;
    s.fileName = std::to_string(sequence) + ".json";
    return s;
}

std::string refusal(const std::string &text)
{
    std::string why;
    EXPECT_FALSE(aircraftName(text, why).has_value()) << text;
    return why;
}

} // namespace

TEST(AircraftName, TrimsBlanksAndRefusesWhatIsNotAShortPrintableName)
{
    std::string why;
    EXPECT_EQ(aircraftName("  N123AB ", why), "N123AB");
    EXPECT_EQ(aircraftName("Cub \xc3\xa9t\xc3\xa9", why), "Cub \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(aircraftName(std::string(32, 'x'), why), std::string(32, 'x'));
    // 32 characters of two bytes each is still 32 characters.
    std::string accents;
    for (int i = 0; i < 32; ++i)
        accents += "\xc3\xa9";
    EXPECT_EQ(aircraftName(accents, why), accents);

    EXPECT_NE(refusal("   "), "");
    EXPECT_NE(refusal(""), "");
    EXPECT_NE(refusal(std::string(33, 'x')), "");
    EXPECT_NE(refusal(std::string(10'000, 'x')), "");
    EXPECT_NE(refusal("N1\tAB"), "");
    EXPECT_NE(refusal("N1\x1b[2J"), "");
    EXPECT_NE(refusal("N1\xc2\x85"), ""); // C1 next line
    EXPECT_NE(refusal("N1\xe2\x80\xae"
                      "BA"),
              "");                            // right-to-left override
    EXPECT_NE(refusal("N1\xe2\x80\xa8"), ""); // line separator
    EXPECT_NE(refusal("N1\xff"), "");         // not UTF-8
    EXPECT_NE(refusal("N1\xc0\xaf"), "");     // overlong '/'
}

TEST(AircraftName, NamesDifferingOnlyInTheCaseOfAToZAreOneAircraft)
{
    EXPECT_TRUE(sameAircraft("G-ABCD", "g-abcd"));
    EXPECT_FALSE(sameAircraft("G-ABCD", "G-ABCE"));
    EXPECT_FALSE(sameAircraft("N1", ""));
    EXPECT_EQ(aircraftFileTag("G-ABCD"), "G-ABCD");
    EXPECT_EQ(aircraftFileTag("My Cub/2"), "My_Cub_2");
    EXPECT_EQ(aircraftFileTag("\xc3\xa9t\xc3\xa9"), "_t_");
    EXPECT_EQ(aircraftFileTag("../.."), "_____");
    EXPECT_EQ(otherAircraftWarning("N1", "n1"), "");
    EXPECT_EQ(otherAircraftWarning("", "N1"), "");
    EXPECT_EQ(otherAircraftWarning("N1", ""), "");
    EXPECT_EQ(otherAircraftWarning("N1", "N2"), "saved for aircraft N1; the aircraft chosen is N2");
}

TEST(Fleet, MarksTheValueMostOfTheFleetDoesNotHold)
{
    // Newest first. Five aircraft hold tach volts 2, one holds 0; max rpm is split 3 to 3.
    std::vector<Snapshot> entries;
    const char *names[] = {"A1", "A2", "A3", "A4", "A5", "A6"};
    for (int i = 0; i < 6; ++i)
        entries.push_back(point(names[i], 100 - i, i < 3 ? 12 : 13, i == 4 ? 0 : 2));
    entries.push_back(point("a5", 50, 12, 2)); // an older one of A5, other case
    entries.push_back(point("", 40, 1, 1));    // no name: not in the fleet
    const std::vector<FleetAircraft> fleet = fleetOf(entries);
    ASSERT_EQ(fleet.size(), 6u);
    for (const FleetAircraft &a : fleet) {
        EXPECT_EQ(a.differs[kTachVolts], a.name == "A5") << a.name;
        EXPECT_FALSE(a.differs[kMaxRpm]) << "no value is held by most: " << a.name;
    }
    EXPECT_EQ(fleet[4].name, "A5");
    EXPECT_EQ(fleet[4].restorePoints, 2u);
    EXPECT_EQ(fleet[4].newest.config.values[kTachVolts], 0);

    // Two aircraft that differ: neither is "most".
    const auto two = fleetOf({point("X", 2, 12), point("Y", 1, 13)});
    EXPECT_FALSE(two[0].differs[kMaxRpm] || two[1].differs[kMaxRpm]);
}

TEST(ConfigRecordContent, SaysWhatChangedSinceTheAircraftsPreviousConfigurationAndWhen)
{
    // Newest first: N1 went 12 -> 13 at sequence 4; N2's points never count for N1.
    const std::vector<Snapshot> entries{point("N1", 5, 13, 2, SnapshotEvent::Connected),
                                        point("N2", 4, 9), point("n1", 3, 13), point("N1", 2, 12),
                                        point("N1", 1, 11)};
    ConfigRecord record;
    record.aircraft = "N1";
    record.config = entries[0].config;
    addChangesFromHistory(record, entries);
    ASSERT_TRUE(record.previous && record.changedAt);
    EXPECT_EQ(record.previous->sequence, 2);
    EXPECT_EQ(record.changedAt->sequence, 3);
    ASSERT_EQ(record.changes.size(), 1u);
    EXPECT_EQ(record.changes[0].parameter, kMaxRpm);
    EXPECT_EQ(record.changes[0].before, "3072");
    EXPECT_EQ(record.changes[0].after, "3328");

    // Values the history does not hold yet changed "now"; a record with no earlier
    // configuration says so.
    record.config.values[kMaxRpm] = 14;
    addChangesFromHistory(record, entries);
    EXPECT_EQ(record.previous->sequence, 5);
    EXPECT_FALSE(record.changedAt);
    record.aircraft = "N9";
    addChangesFromHistory(record, entries);
    EXPECT_FALSE(record.previous);
}

TEST(ConfigRecordContent, SaysPlainlyWhenTheModuleHasNotStoredTheValues)
{
    ConfigRecord record;
    record.aircraft = "N1";
    record.config = point("N1", 1, 12).config;
    const auto last = [&] { return recordLines(record).back(); };
    EXPECT_EQ(last(), "The module has stored the values shown.");
    record.unstored = {"MAX RPM LIMIT"};
    EXPECT_EQ(last().rfind("NOT STORED", 0), 0u) << last();
    EXPECT_NE(last().find("MAX RPM LIMIT"), std::string::npos);
}

TEST(HistoryOfAFleet, ABusyAircraftNeverPushesTheOthersOutAndRepeatsArePerAircraft)
{
    HistoryList list(3);
    for (int i = 0; i < 200; ++i)
        list.add(point("A" + std::to_string(i), 0, i % 17));
    for (int i = 0; i < 10; ++i)
        list.add(point("BUSY", 0, i % 17));
    // The three written last, and the newest of every other aircraft.
    EXPECT_EQ(list.entries().size(), 3u + 200u);
    EXPECT_EQ(fleetOf(list.entries()).size(), 201u);

    HistoryList repeats;
    repeats.add(point("N1", 0, 12));
    EXPECT_TRUE(repeats.repeatsNewest(point("n1", 0, 12)));
    EXPECT_FALSE(repeats.repeatsNewest(point("N2", 0, 12)));
}
