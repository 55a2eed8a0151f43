// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include "framing.h"

#include <gtest/gtest.h>

using namespace quelo;
using quelo::test::Harness;

namespace {
struct Framing : ::testing::Test
{
    Harness h;
    WindowState &w = h.w;
};
} // namespace

TEST_F(Framing, OtherEventCodesReadNothing)
{
    h.comm.deliver("x0100\r", 1);
    EXPECT_EQ(w.rxbuffer, "");
    EXPECT_EQ(w.rpmtarget, 0);
    h.comm.deliver("", 2); // the waiting text arrives with the next receive notification
    EXPECT_EQ(w.rpmtarget, 256);
}

TEST_F(Framing, ChunksAreJoinedUntilALineEnds)
{
    h.feed("x01");
    EXPECT_EQ(w.rxbuffer, "x01");
    EXPECT_EQ(w.rpmtarget, 0);
    h.feed("0");
    h.feed("0\r");
    EXPECT_EQ(w.rpmtarget, 256);
    EXPECT_EQ(w.rxbuffer, "");
}

TEST_F(Framing, EveryLineOfAChunkIsDecodedInOrderAndATailWaits)
{
    h.feed("x0100\rw8C\r\nb0E\rx0");
    EXPECT_EQ(w.rpmtarget, 256);
    EXPECT_EQ(w.voltstarget, 14);
    EXPECT_EQ(w.advtarget, 20);
    EXPECT_EQ(w.rxbuffer, "x0");
    h.feed("200\n");
    EXPECT_EQ(w.rpmtarget, 512);
    EXPECT_EQ(h.comm.Tag, "0");
}

TEST_F(Framing, ACrAndItsLfInSeparateChunks)
{
    h.feed("w7D\r");
    EXPECT_EQ(w.voltstarget, 12);
    h.feed("\n");
    EXPECT_EQ(w.rxbuffer, "");
    h.feed("w87\r\n");
    EXPECT_EQ(w.voltstarget, 14);
}

TEST_F(Framing, AnyChunkingGivesTheSameResult)
{
    const std::string stream = "u1A\r\nt02\rd03\r\n\nm0C\rn19\rx0A00\rw8A\rb12\r";
    for (std::size_t size = 1; size <= stream.size(); ++size) {
        Harness fresh;
        for (ParameterTraffic &t : fresh.w.traffic)
            t.readOutstanding = true; // the scheduler asked for every parameter
        for (std::size_t i = 0; i < stream.size(); i += size)
            fresh.feed(stream.substr(i, size));
        const WindowState &s = fresh.w;
        EXPECT_EQ(s.revdata.Text, "26") << size;
        EXPECT_EQ(s.pprdata.Text, "2") << size;
        EXPECT_EQ(s.cycledata.Text, "3") << size;
        EXPECT_EQ(s.maxrpmdata.Text, "3072") << size;
        EXPECT_EQ(s.maxadvancedata.Text, "35") << size;
        EXPECT_EQ(s.rpmtarget, 2560) << size;
        EXPECT_EQ(s.voltstarget, 14) << size;
        EXPECT_EQ(s.advtarget, 25) << size;
        EXPECT_EQ(s.rxbuffer, "") << size;
    }
}

TEST_F(Framing, WhileBusyChunksOnlyAccumulate)
{
    h.comm.Tag = "1";
    h.feed("x0100\r");
    h.feed("w8C\r");
    EXPECT_EQ(w.rxbuffer, "x0100\rw8C\r");
    EXPECT_EQ(w.rpmtarget, 0);
    h.comm.Tag = "0";
    h.feed("");
    EXPECT_EQ(w.rpmtarget, 256);
    EXPECT_EQ(w.voltstarget, 14);
}

TEST_F(Framing, APeerThatNeverEndsALineCannotGrowTheBuffer)
{
    const std::string junk(1000, 'Z');
    for (int i = 0; i < 100; ++i)
        h.feed(junk);
    EXPECT_LE(w.rxbuffer.size(), LineFraming::kMaxBuffer);
    h.feed("\rx0100\r");
    EXPECT_EQ(w.rpmtarget, 256);
    EXPECT_EQ(w.rxbuffer, "");
}

TEST_F(Framing, AnOverlongLineIsDroppedWholeUpToItsLineEnd)
{
    // A reply hidden past the bound inside noise must not be decoded from the middle.
    const std::string line = "Q" + std::string(6000, 'Z') + "x1F40" + std::string(4091, 'Z') + "\r";
    for (const std::size_t chunk :
         {std::size_t{1}, std::size_t{64}, std::size_t{1000}, std::size_t{4097}, line.size()}) {
        Harness fresh;
        for (std::size_t i = 0; i < line.size(); i += chunk)
            fresh.feed(line.substr(i, chunk));
        EXPECT_EQ(fresh.w.rpmtarget, 0) << chunk;
        EXPECT_EQ(fresh.w.rxbuffer, "") << chunk;
        // The next line is a reply again.
        fresh.feed("x0100\r");
        EXPECT_EQ(fresh.w.rpmtarget, 256) << chunk;
    }

    // Lines before the over-long one in the same chunk are decoded; the rest of its chunk after
    // its line end too.
    h.feed("w8C\r" + std::string(5000, 'Z'));
    EXPECT_EQ(w.voltstarget, 14);
    h.feed("x1F40" + std::string(100, 'Z') + "\rx0200\r");
    EXPECT_EQ(w.rpmtarget, 512);
}
