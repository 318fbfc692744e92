// The switching loop with recording fakes: the order of its effects, forward and random order,
// failed items passed over, the pause, requests while a show runs on the worker, and going back
// through the history.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "switching/switching_loop.h"

namespace {

// Draws from a fixed list, then repeats the last.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int> draws) : draws(std::move(draws)) {}
    int Next() override { return draws[std::min(position++, draws.size() - 1)]; }

private:
    std::vector<int> draws;
    size_t position = 0;
};

class FakeEnvironment final : public ScheduleEnvironment {
public:
    std::uint32_t TickCount() override { return tick; }
    LocalTime LocalNow() override { return now; }
    bool IsScreenSaverRunning() override { return screenSaver; }
    bool IsPauseRequested() override { return paused; }
    bool IsForegroundFullscreen() override { return fullscreen; }
    bool IsOnBattery() override { return battery; }
    std::uint32_t tick = 1000;
    LocalTime now{2026, 12, 1, 7, 0};
    bool screenSaver = false;
    bool paused = false;
    bool fullscreen = false;
    bool battery = false;
};

// Records every effect in order; shows end only when the test says so.
class Recorder final : public SwitchRendering, public SwitchingView, public SwitchingStore {
public:
    // One picture as "path@page"; several joined by "+".
    std::uint64_t BeginShow(const std::vector<ShowPicture>& pictures, bool filter) override {
        filtered.push_back(filter);
        std::string text;
        for (const ShowPicture& picture : pictures) {
            text += (text.empty() ? "" : "+") + picture.path + "@" + std::to_string(picture.page);
        }
        log.push_back("show " + text);
        rotation = pictures.front().rotation;
        return ++ticket;
    }
    void CancelShow() override { log.push_back("cancel"); }
    void Prepare(const std::vector<ShowPicture>& pictures) override {
        std::string text;
        for (const ShowPicture& picture : pictures) {
            text += (text.empty() ? "" : "+") + picture.path;
        }
        log.push_back("prepare " + text);
    }
    void DropPrepared() override { log.push_back("drop"); }
    // Answers at once, as a fast disk would, or keeps the answer until Answer().
    void ReadShapes(const std::vector<ShowPicture>& pictures) override {
        for (const ShowPicture& picture : pictures) {
            shapesToCome.emplace_back(
                picture, picture.path == "missing" ? PictureShape::Unreadable : PictureShape::Wide);
        }
        log.push_back("read " + std::to_string(pictures.size()));
        if (!slowDisk) {
            Answer();
        }
    }
    void Answer() { loop->ShapesRead(std::exchange(shapesToCome, {})); }
    std::vector<WallpaperEntry> BuildSwitchingSequence() override { return items; }
    void ShowSourceRow(int row) override { log.push_back("row " + std::to_string(row)); }
    void StoreNextIndex(int index) override { log.push_back("store " + std::to_string(index)); }
    void OnItemFailed() override { log.push_back("failed"); }
    void SetPublishFailure(const std::string& why) override { publishFailure = why; }
    void SaveDeck(std::string text) override { deck = std::move(text); }
    void AppendDeck(std::string lines) override { deck += lines; }
    void SetBusy(bool busy) override { log.push_back(busy ? "busy" : "idle"); }
    void SetStartStopText(const std::string& text) override { texts.push_back(text); }
    void UpdateControls() override {}
    void SaveHistory(std::string text) override { storedHistory = std::move(text); }
    void SaveHidden(std::string text) override { storedHidden = std::move(text); }
    void SaveFavourites(std::string text) override { storedFavourites = std::move(text); }
    std::vector<MonitorRect> Monitors() override { return monitors; }

    std::vector<WallpaperEntry> items;
    std::vector<std::string> log;
    std::vector<std::string> texts;
    std::string deck;
    std::string publishFailure;
    std::uint64_t ticket = 0;
    int rotation = 0;
    // Whether each show began was filtered.
    std::vector<bool> filtered;
    std::string storedHistory;
    std::string storedHidden;
    std::string storedFavourites;
    std::vector<MonitorRect> monitors{{0, 0, 1920, 1080, true}};
    SwitchingLoop* loop = nullptr;
    bool slowDisk = false;
    std::vector<std::pair<ShowPicture, PictureShape>> shapesToCome;
};

std::vector<WallpaperEntry> Items(int n) {
    std::vector<WallpaperEntry> items;
    for (int i = 0; i < n; ++i) {
        items.push_back({i, 0, "", "item" + std::to_string(i)});
    }
    return items;
}

using Log = std::vector<std::string>;

class SwitchingLoopTest : public testing::Test {
protected:
    SwitchingLoopTest() {
        recorder.items = Items(3);
        recorder.loop = &loop;
        settings.switchPeriod = "0:0:10";
    }
    // Ends the running show and returns what followed it.
    Log Finish(ShowResult result, const std::string& why = {}) {
        recorder.log.clear();
        loop.ShowFinished(recorder.ticket, result, why);
        return recorder.log;
    }
    Log Finish(bool shown) { return Finish(shown ? ShowResult::Shown : ShowResult::Unreadable); }

    AppSettings settings;
    ScriptedRandom random{{0}};
    FakeEnvironment environment;
    Recorder recorder;
    SwitchingLoop loop{settings, random, environment, recorder, recorder, recorder};
};

TEST_F(SwitchingLoopTest, ASwitchShowsOnTheWorkerThenSelectsStoresAndPreparesTheNext) {
    settings.nextIndex = 2;
    loop.SwitchNow();
    EXPECT_EQ(recorder.log, (Log{"busy", "show item2@0"}));
    EXPECT_TRUE(loop.Busy());
    EXPECT_EQ(settings.nextIndex, 2);
    EXPECT_EQ(Finish(true), (Log{"row 2", "store 0", "idle", "prepare item0"}));
    EXPECT_FALSE(loop.Busy());
    // A stored position outside the sequence starts at the first item.
    for (int stored : {7, -1, 3}) {
        settings.nextIndex = stored;
        recorder.log.clear();
        loop.SwitchNow();
        EXPECT_EQ(recorder.log.back(), "show item0@0") << stored;
        Finish(true);
    }
}

TEST_F(SwitchingLoopTest, FailedItemsArePassedOverAtMostOnceAndTheIndexWraps) {
    recorder.items = Items(4);
    settings.nextIndex = 2;
    loop.SwitchNow();
    EXPECT_EQ(Finish(false), (Log{"failed", "show item3@0"}));
    EXPECT_EQ(Finish(false), (Log{"failed", "show item0@0"}));
    EXPECT_EQ(Finish(true), (Log{"row 0", "store 1", "idle", "prepare item1"}));
    // Every item failing: four tries, then the last one tried is the shown row.
    loop.SwitchNow();
    for (int i = 0; i < 3; ++i) {
        Finish(false);
    }
    EXPECT_EQ(Finish(false), (Log{"failed", "row 0", "store 2", "idle", "prepare item2"}));
}

TEST_F(SwitchingLoopTest, RandomOrderDrawsTheNextWhenASwitchEndsNeverTheOneShown) {
    settings.randomOrder = true;
    const struct {
        int items;
        int shown;
        std::vector<int> draws;
        int next;
    } cases[] = {
        // Fewer than four items go on in order.
        {3, 1, {0}, 2},
        {3, 2, {0}, 0},
        // Draws giving the shown index again are drawn anew (two draws make one index).
        {4, 1, {0, 1, 0, 1, 0, 3}, 3},
        {4, 0, {0, 0, 0, 2}, 2},
        {5, 0, {0, 0, 0, 100, 0, 3}, 3},
    };
    for (const auto& c : cases) {
        recorder.items = Items(c.items);
        loop.End();
        settings.nextIndex = c.shown;
        random = ScriptedRandom(c.draws);
        // "Switch wallpaper now" shows the item drawn before, without drawing again.
        loop.SwitchNow();
        EXPECT_EQ(recorder.log.back(), "show item" + std::to_string(c.shown) + "@0");
        Finish(true);
        EXPECT_EQ(settings.nextIndex, c.next) << c.items << " " << c.shown;
    }
}

TEST_F(SwitchingLoopTest, NoRepeatsDealsEachItemOncePerDeckAndTheDeckOutlivesARestart) {
    settings.randomOrder = settings.noRepeats = true;
    recorder.items = Items(5);
    random = ScriptedRandom({0, 3, 0, 1, 0, 4, 0, 2, 0, 0, 0, 3, 0, 1});
    std::vector<std::string> shown;
    SwitchingLoop again{settings, random, environment, recorder, recorder, recorder};
    for (SwitchingLoop* run : {&loop, &loop, &again}) {
        // Started again, and in a new run from the stored deck, the item dealt last and not
        // shown yet comes first.
        const std::string dealt = "show item" + std::to_string(settings.nextIndex) + "@0";
        if (run == &again) {
            again.LoadDeck(recorder.deck);
        }
        run->StartStop();
        EXPECT_TRUE(shown.empty() || recorder.log.back() == dealt);
        for (int i = 0; i < 4; ++i) {
            shown.push_back(recorder.log.back());
            run->ShowFinished(recorder.ticket, ShowResult::Shown);
            run->SwitchNow();
        }
        run->End();
    }
    for (auto from = shown.begin(); from + 5 <= shown.end(); from += 5) {
        EXPECT_EQ(std::set<std::string>(from, from + 5).size(), 5u);
    }
    EXPECT_NE(shown[4], shown[5]);
}

TEST_F(SwitchingLoopTest, RequestsWhileAShowRunsWaitOnceAndADirectChoiceKeepsThePosition) {
    settings.nextIndex = 0;
    loop.SwitchNow();
    loop.SwitchNow();
    loop.SwitchNow();
    // A stale ticket changes nothing.
    loop.ShowFinished(recorder.ticket + 7, ShowResult::Shown);
    EXPECT_EQ(Finish(true), (Log{"row 0", "store 1", "idle", "busy", "show item1@0"}));
    EXPECT_EQ(Finish(true), (Log{"row 1", "store 2", "idle", "prepare item2"}));

    loop.ShowEntry({1, 3, "", "chosen"}, 4);
    EXPECT_EQ(Finish(false), (Log{"failed", "idle", "prepare item2"}));
    EXPECT_EQ(settings.nextIndex, 2);
}

TEST_F(SwitchingLoopTest, IntervalModeSwitchesAtStartThenWhenDueAndNotPaused) {
    settings.switchMode = 1;
    loop.StartStop();
    EXPECT_TRUE(loop.Active());
    EXPECT_EQ(recorder.log, (Log{"busy", "show item0@0"}));
    // No tick asks for a switch while one runs.
    environment.tick += 100000;
    loop.OnTick();
    Finish(true);
    environment.tick += 10000;
    loop.OnTick();
    EXPECT_FALSE(loop.Busy());
    environment.tick += 1;
    environment.paused = true;
    loop.OnTick();
    EXPECT_FALSE(loop.Busy());
    environment.paused = false;
    environment.screenSaver = true;
    // Under the screen saver the tick does nothing, its list chores included.
    EXPECT_FALSE(loop.OnTick());
    EXPECT_FALSE(loop.Busy());
    environment.screenSaver = false;
    loop.OnTick();
    EXPECT_EQ(recorder.log.back(), "show item1@0");
    EXPECT_EQ(recorder.texts, (Log{".&Stop.", "..&Stop..", "...&Stop...", "&Stop"}));

    // Stop cancels the show under way and forgets the sequence and what was prepared.
    recorder.log.clear();
    loop.StartStop();
    EXPECT_EQ(recorder.log, (Log{"cancel", "idle", "drop"}));
    EXPECT_FALSE(loop.Active());
    EXPECT_TRUE(loop.Sequence().empty());
    EXPECT_TRUE(Finish(true).empty());
}

TEST_F(SwitchingLoopTest, SwitchNowBuildsTheSequenceOnceAndNeedsTwoItems) {
    recorder.items = Items(1);
    loop.SwitchNow();
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_EQ(loop.Sequence().size(), 1u);
    // The sequence built stays: a longer list is not read again until switching starts.
    recorder.items = Items(2);
    loop.SwitchNow();
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(SwitchingLoopTest, WhatHoldsATimedSwitchBackAndWhetherItIsMadeUpAfterwards) {
    settings.switchMode = 2;
    settings.switchTimes = {"08:00"};
    settings.holdOnBattery = true;
    const struct {
        const char* what;
        std::function<void(bool)> hold;
        bool madeUp;
    } cases[] = {
        {"the user's pause", [this](bool on) { loop.SetPaused(on); }, true},
        {"a full-screen window", [this](bool on) { environment.fullscreen = on; }, true},
        {"the battery", [this](bool on) { environment.battery = on; }, true},
        // Another program's pause marker drops a time of day that fell due meanwhile.
        {"the pause marker", [this](bool on) { environment.paused = on; }, false},
    };
    for (const auto& c : cases) {
        loop.End();
        environment.now.hour = 7;
        loop.StartStop();
        c.hold(true);
        environment.now.hour = 8;
        loop.OnTick();
        EXPECT_FALSE(loop.Busy()) << c.what;
        // "Switch wallpaper now" is not held back.
        loop.SwitchNow();
        EXPECT_TRUE(loop.Busy()) << c.what;
        Finish(true);
        c.hold(false);
        environment.now.minute = 1;
        loop.OnTick();
        EXPECT_EQ(loop.Busy(), c.madeUp) << c.what;
        if (loop.Busy()) {
            Finish(true);
        }
        environment.now.minute = 0;
    }
    // Without their options, a full-screen window and the battery hold nothing back.
    settings.holdWhenFullscreen = false;
    settings.holdOnBattery = false;
    environment.fullscreen = environment.battery = true;
    loop.End();
    environment.now.hour = 7;
    loop.StartStop();
    environment.now.hour = 8;
    loop.OnTick();
    EXPECT_TRUE(loop.Busy());
}

TEST_F(SwitchingLoopTest, OnlyAtStartupAndTimesOfDayAndAnEmptyList) {
    loop.StartStop();
    EXPECT_FALSE(loop.Active());
    EXPECT_EQ(loop.Sequence().size(), 3u);
    Finish(true);
    environment.tick += 1000000;
    loop.OnTick();
    EXPECT_FALSE(loop.Busy());

    loop.End();
    settings.switchMode = 2;
    loop.StartStop();
    EXPECT_FALSE(loop.Active());
    settings.switchTimes = {"08:00"};
    recorder.log.clear();
    loop.StartStop();
    EXPECT_TRUE(loop.Active());
    EXPECT_EQ(recorder.log, (Log{"prepare item1"}));
    environment.now.hour = 8;
    loop.OnTick();
    EXPECT_EQ(recorder.log.back(), "show item1@0");

    loop.End();
    recorder.items.clear();
    settings.switchMode = 1;
    loop.StartStop();
    EXPECT_FALSE(loop.Active());
}

TEST_F(SwitchingLoopTest, ChangedRenderSettingsStartTheRunningShowAgain) {
    loop.SwitchNow();
    recorder.log.clear();
    loop.RenderSettingsChanged();
    EXPECT_EQ(recorder.log, (Log{"drop", "cancel", "show item0@0"}));
    EXPECT_EQ(Finish(true), (Log{"row 0", "store 1", "idle", "prepare item1"}));
    recorder.log.clear();
    loop.RenderSettingsChanged();
    EXPECT_EQ(recorder.log, (Log{"drop", "prepare item1"}));
}

TEST_F(SwitchingLoopTest, APictureOnEachMonitorMovesOnByTheMonitorsAndPreparesTheWholeNextSet) {
    recorder.items = Items(5);
    recorder.items[3].path = "missing";
    recorder.monitors = {{0, 0, 1920, 1080, true}, {1920, 0, 3000, 1920, false}};
    settings.render.monitorMode = 2;
    // The headers are read off the loop's thread; the show waits for them, once.
    recorder.slowDisk = true;
    loop.SwitchNow();
    EXPECT_EQ(recorder.log, (Log{"busy", "read 5"}));
    recorder.log.clear();
    recorder.Answer();
    recorder.slowDisk = false;
    EXPECT_EQ(recorder.log, (Log{"show item0@0+item1@0"}));
    // The history keeps each monitor's picture; an unreadable item is passed over.
    EXPECT_EQ(Finish(true), (Log{"row 0", "store 2", "idle", "prepare item2+item4"}));
    EXPECT_EQ(loop.History().Entries().back().path, "item0");
    EXPECT_EQ(loop.History().Entries().back().otherMonitors,
              (std::vector<ShowPicture>{{"item1", 0, 0}}));
    loop.SwitchNow();
    EXPECT_EQ(recorder.log.back(), "show item2@0+item4@0");
    // A failed show passes over its set; the sequence's end wraps.
    EXPECT_EQ(Finish(false), (Log{"failed", "show item0@0+item1@0"}));
    EXPECT_EQ(Finish(true), (Log{"row 0", "store 2", "idle", "prepare item2+item4"}));
    // A direct choice goes on every monitor; going back brings each monitor's picture back.
    loop.ShowEntry({1, 0, "", "chosen"}, 3);
    EXPECT_EQ(recorder.log.back(), "show chosen@3+chosen@3");
    Finish(true);
    EXPECT_TRUE(loop.History().Entries().back().otherMonitors.empty());
    loop.ShowPrevious();
    EXPECT_EQ(recorder.log.back(), "show item0@0+item1@0");
}

TEST_F(SwitchingLoopTest, ADisplayChangeShowsTheCurrentWallpaperAgainWithNothingAdvanced) {
    // Nothing shown yet in this run: nothing to show again, even with a history from before.
    WallpaperHistory earlier;
    earlier.Record({"old", 0, 0, environment.now});
    loop.RestoreHistory(earlier);
    loop.ShowCurrentAgain();
    EXPECT_EQ(recorder.log, (Log{"drop"}));
    loop.ShowEntry({1, 1, "", "chosen"}, 2);
    Finish(true);
    loop.SwitchNow();
    recorder.log.clear();
    // A show under way starts again.
    loop.ShowCurrentAgain();
    EXPECT_EQ(recorder.log, (Log{"drop", "cancel", "show item0@0"}));
    Finish(true);
    loop.ShowPrevious();
    Finish(true);
    recorder.log.clear();
    loop.ShowCurrentAgain();
    EXPECT_EQ(recorder.log, (Log{"drop", "show chosen@2", "prepare item1"}));
    EXPECT_EQ(recorder.rotation, 1);
    EXPECT_FALSE(loop.Busy());
    // Its report changes nothing: no row, no position, no history entry.
    EXPECT_TRUE(Finish(true).empty());
    EXPECT_EQ(settings.nextIndex, 1);
    EXPECT_EQ(loop.History().Entries().size(), 3u);
    EXPECT_EQ(loop.History().Current(), 1);
}

}  // namespace

TEST_F(SwitchingLoopTest, PreviousGoesBackThroughTheHistoryAndTheNextSwitchesWalkForwardFirst) {
    recorder.items = Items(4);
    settings.nextIndex = 0;
    for (int i = 0; i < 3; ++i) {
        loop.SwitchNow();
        Finish(true);
    }
    // A direct choice is recorded too; one that fails is not.
    loop.ShowEntry({1, 2, "", "chosen"}, 4);
    Finish(true);
    loop.ShowEntry({1, 0, "", "broken"}, 0);
    Finish(false);
    EXPECT_EQ(loop.History().Entries().back(), (HistoryEntry{"chosen", 4, 2, environment.now}));

    // Back: a fresh show of the entry before, the position in the sequence left as it was.
    recorder.log.clear();
    loop.ShowPrevious();
    EXPECT_EQ(recorder.log, (Log{"busy", "show item2@0"}));
    EXPECT_EQ(Finish(true), (Log{"idle", "prepare item3"}));
    EXPECT_EQ(recorder.storedHistory, loop.History().ToText());
    // An entry whose file is gone is passed over; before the oldest there is nothing.
    loop.ShowPrevious();
    EXPECT_EQ(Finish(false), (Log{"failed", "show item0@0"}));
    Finish(true);
    EXPECT_FALSE(loop.HasPrevious());
    recorder.log.clear();
    loop.ShowPrevious();
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_EQ(settings.nextIndex, 3);

    // Forward again: the later entries, newest last, then on with the sequence where it was.
    loop.SwitchNow();
    EXPECT_EQ(Finish(false), (Log{"failed", "show item2@0"}));
    Finish(true);
    loop.SwitchNow();
    EXPECT_EQ(recorder.log.back(), "show chosen@4");
    EXPECT_EQ(recorder.rotation, 2);
    Finish(true);
    loop.SwitchNow();
    EXPECT_EQ(recorder.log.back(), "show item3@0");
    EXPECT_EQ(Finish(true), (Log{"row 3", "store 0", "idle", "prepare item0"}));

    // Requests wait for a show under way; a timed switch after going back walks forward first.
    loop.ShowPrevious();
    loop.SwitchNow();
    Finish(true);
    EXPECT_EQ(recorder.log.back(), "show item3@0");
    Finish(true);
    loop.ShowPrevious();
    Finish(true);
    settings.switchMode = 1;
    loop.StartStop();
    EXPECT_EQ(recorder.log.back(), "show item3@0");
    Finish(true);
    environment.tick += 10001;
    loop.OnTick();
    EXPECT_EQ(recorder.log.back(), "show item0@0");
    EXPECT_EQ(Finish(true), (Log{"row 0", "store 1", "idle", "prepare item1"}));
    // A picture brought back stays a whole interval.
    environment.tick += 6000;
    loop.ShowPrevious();
    Finish(true);
    environment.tick += 6000;
    loop.OnTick();
    EXPECT_FALSE(loop.Busy());
    environment.tick += 4001;
    loop.OnTick();
    EXPECT_TRUE(loop.Busy());
}

TEST_F(SwitchingLoopTest, AnUnreadableItemIsPassedOverAndABitmapNotSetKeepsThePositionUntilDue) {
    settings.switchMode = 1;
    settings.startSwitchingAtStartup = true;
    loop.StartStop();
    EXPECT_EQ(Finish(ShowResult::Unreadable), (Log{"failed", "show item1@0"}));
    // The desktop did not take the bitmap: no pass-over, no row, no new position, the reason
    // shown, and no retry before the next due switch.
    EXPECT_EQ(Finish(ShowResult::NotSet, "Access is denied."), (Log{"idle", "prepare item1"}));
    EXPECT_EQ(recorder.publishFailure, "Access is denied.");
    EXPECT_EQ(settings.nextIndex, 1);
    environment.tick += 10000;
    loop.OnTick();
    EXPECT_FALSE(loop.Busy());
    environment.tick += 1;
    loop.OnTick();
    EXPECT_EQ(recorder.log.back(), "show item1@0");
    EXPECT_EQ(Finish(true), (Log{"row 1", "store 2", "idle", "prepare item2"}));
    EXPECT_EQ(recorder.publishFailure, "");
}

TEST_F(SwitchingLoopTest, NoRepeatsDealsACardOnlyWhenShownAndAWaitingPictureStartsTheDeck) {
    settings.randomOrder = settings.noRepeats = true;
    recorder.items = Items(5);
    random = ScriptedRandom({0, 3, 0, 1, 0, 4, 0, 2, 0, 0, 0, 3, 0, 1});
    // The position stored before there was a deck is the deck's first card.
    settings.nextIndex = 3;
    std::vector<std::string> shown;
    for (int i = 0; i < 10; ++i) {
        loop.SwitchNow();
        shown.push_back(recorder.log.back());
        // Settings that change no picture deal nothing and prepare nothing again.
        AppSettings before = settings;
        before.pauseKey = 0x0241;
        recorder.log.clear();
        loop.SettingsApplied(before);
        EXPECT_TRUE(recorder.log.empty());
        Finish(true);
    }
    EXPECT_EQ(shown.front(), "show item3@0");
    EXPECT_EQ(std::set<std::string>(shown.begin(), shown.begin() + 5).size(), 5u);
    EXPECT_EQ(std::set<std::string>(shown.begin() + 5, shown.end()).size(), 5u);

    // With a picture per monitor, a set chosen again (new monitors) uses up no card.
    recorder.monitors = {{0, 0, 1920, 1080, true}, {1920, 0, 3840, 1080, false}};
    settings.render.monitorMode = 2;
    loop.End();
    loop.StartStop();
    const std::string first = recorder.log.back();
    Finish(true);
    for (int i = 0; i < 5; ++i) {
        recorder.monitors.back().right += 10;
        loop.ShowCurrentAgain();
    }
    loop.SwitchNow();
    const std::string second = recorder.log.back();
    std::set<std::string> five;
    for (const std::string& show : {first, second}) {
        const std::string pictures = show.substr(5);
        five.insert(pictures.substr(0, pictures.find('+')));
        five.insert(pictures.substr(pictures.find('+') + 1));
    }
    EXPECT_EQ(five.size(), 4u) << first << " " << second;
}

TEST_F(SwitchingLoopTest,
       ADisplayChangeUnderAHoldWaitsAndAnIntervalSwitchFallingTogetherRendersOnce) {
    settings.switchMode = 1;
    loop.StartStop();
    Finish(true);
    const struct {
        const char* what;
        std::function<void(bool)> hold;
    } holds[] = {
        {"the user's pause", [this](bool on) { loop.SetPaused(on); }},
        {"a full-screen window", [this](bool on) { environment.fullscreen = on; }},
        {"the battery", [this](bool on) { environment.battery = on; }},
    };
    settings.holdOnBattery = true;
    for (const auto& c : holds) {
        c.hold(true);
        recorder.log.clear();
        loop.ShowCurrentAgain();
        loop.OnTick();
        EXPECT_TRUE(recorder.log.empty()) << c.what;
        // The displays came back as they were: nothing waits any more.
        loop.DropShowAgain();
        c.hold(false);
        loop.OnTick();
        EXPECT_TRUE(recorder.log.empty()) << c.what;
        c.hold(true);
        loop.ShowCurrentAgain();
        c.hold(false);
        loop.OnTick();
        EXPECT_EQ(recorder.log, (Log{"drop", "show item0@0", "prepare item1"})) << c.what;
    }
    // The interval falls due while a render waits for the pause: the switch alone renders.
    loop.SetPaused(true);
    loop.ShowCurrentAgain();
    environment.tick += 10001;
    loop.OnTick();
    recorder.log.clear();
    loop.SetPaused(false);
    EXPECT_EQ(recorder.log, (Log{"busy", "show item1@0"}));
    Finish(true);
    recorder.log.clear();
    loop.OnTick();
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(SwitchingLoopTest, HiddenPicturesLeaveTheSequenceWhetherFromAFileOrAFolderEntry) {
    // A file entry's pages, and two files found in a folder entry.
    recorder.items = {{0, 1, "1", "C:\\a.tif"},
                      {0, 1, "3", "C:\\a.tif"},
                      {1, 0, "", "C:\\dir\\x.jpg"},
                      {1, 0, "", "C:\\dir\\y.jpg"}};
    const struct {
        std::string hiddenText;
        std::vector<std::string> left;
    } cases[] = {
        {"", {"C:\\a.tif@1", "C:\\a.tif@3", "C:\\dir\\x.jpg@", "C:\\dir\\y.jpg@"}},
        {"3\tc:\\A.TIF\r\n0\tC:\\dir\\x.jpg\r\n", {"C:\\a.tif@1", "C:\\dir\\y.jpg@"}},
        // Another page, a picture not listed, and lines that do not read change nothing.
        {"2\tC:\\a.tif\n0\tC:\\b.jpg\nx\tC:\\dir\\y.jpg\n0C:\\dir\\y.jpg\n\t\n",
         {"C:\\a.tif@1", "C:\\a.tif@3", "C:\\dir\\x.jpg@", "C:\\dir\\y.jpg@"}},
        {"1\tC:\\a.tif\r\n3\tC:\\a.tif\r\n0\tC:\\dir\\x.jpg\r\n0\tC:\\dir\\y.jpg", {}},
    };
    for (const auto& c : cases) {
        loop.End();
        loop.RestoreMarks(PictureMarks::FromText(c.hiddenText), {});
        loop.SwitchNow();
        std::vector<std::string> left;
        for (const WallpaperEntry& item : loop.Sequence()) {
            left.push_back(item.path + "@" + item.pages);
        }
        EXPECT_EQ(left, c.left) << c.hiddenText;
    }
}

TEST_F(SwitchingLoopTest, NeverShowReplacesThePictureAtOnceForGoodUntilShownAgain) {
    recorder.items = Items(4);
    settings.switchMode = 1;
    loop.StartStop();
    Finish(true);
    recorder.log.clear();
    loop.Hide(loop.PicturesOnDesktop().front());
    EXPECT_EQ(recorder.storedHidden, "0\titem0\r\n");
    EXPECT_EQ(recorder.log, (Log{"drop", "prepare item1", "busy", "show item1@0"}));
    std::set<std::string> shown;
    for (int i = 0; i < 20; ++i) {
        Finish(true);
        shown.insert(loop.PicturesOnDesktop().front().path);
        loop.SwitchNow();
    }
    EXPECT_EQ(shown, (std::set<std::string>{"item1", "item2", "item3"}));
    // Going back passes over it too.
    Finish(true);
    for (int i = 0; i < 5; ++i) {
        loop.ShowPrevious();
        Finish(true);
        EXPECT_NE(loop.PicturesOnDesktop().front().path, "item0");
    }
    loop.ShowAgain({{"item0", 0}});
    EXPECT_EQ(recorder.storedHidden, "");
    EXPECT_EQ(loop.Sequence().size(), 4u);
}

TEST_F(SwitchingLoopTest, FavouritesComeThreeTimesAsOftenAtRandomAndAloneWhenOnlyThey) {
    // One favourite among ten: a quarter of the shows (3 of 12 slots), never twice in a row
    // when dealt from the deck.
    for (const bool noRepeats : {false, true}) {
        for (const std::uint32_t seed : {1u, 99u}) {
            AppSettings weighted;
            weighted.switchMode = 1;
            weighted.randomOrder = true;
            weighted.noRepeats = noRepeats;
            weighted.favourites = 1;
            SeededRandom seeded(seed);
            recorder.items = Items(10);
            SwitchingLoop run{weighted, seeded, environment, recorder, recorder, recorder};
            PictureMarks favourites;
            favourites.Add({"item3", 0});
            run.RestoreMarks({}, favourites);
            run.StartStop();
            int count = 0;
            std::string last;
            const int switches = 600;
            for (int i = 0; i < switches; ++i) {
                run.ShowFinished(recorder.ticket, ShowResult::Shown);
                const std::string now = run.PicturesOnDesktop().front().path;
                count += now == "item3";
                if (noRepeats) {
                    EXPECT_FALSE(now == "item3" && last == now) << seed << " at " << i;
                }
                last = now;
                run.SwitchNow();
            }
            // Four standard deviations at random; from the deck a copy is left out now and then.
            EXPECT_NEAR(count, switches / 4, noRepeats ? switches / 100 : switches / 15)
                << noRepeats << " " << seed;
            run.End();
        }
    }
    // Only favourites: in list order the others are skipped; with none the whole list shows.
    recorder.items = Items(4);
    settings.favourites = 2;
    PictureMarks favourites;
    favourites.Add({"item1", 0});
    favourites.Add({"item3", 0});
    loop.RestoreMarks({}, favourites);
    loop.SwitchNow();
    EXPECT_EQ(loop.Sequence().size(), 2u);
    EXPECT_FALSE(loop.NoFavouritesToShow());
    loop.ToggleFavourite({"item1", 0, 0});
    loop.ToggleFavourite({"item3", 0, 0});
    EXPECT_EQ(recorder.storedFavourites, "");
    EXPECT_EQ(loop.Sequence().size(), 4u);
    EXPECT_TRUE(loop.NoFavouritesToShow());
}

TEST_F(SwitchingLoopTest, AFilteredItemIsPassedOverAsAnUnreadableOneButCountedApart) {
    using R = ShowResult;
    const struct {
        const char* what;
        bool deck;
        std::vector<ShowResult> results;
        bool allFilteredOut;
    } cases[] = {
        {"every item filtered", false, {R::Filtered, R::Filtered, R::Filtered}, true},
        {"dealt from the deck", true, {R::Filtered, R::Filtered, R::Filtered}, true},
        {"one filtered, the others unreadable",
         false,
         {R::Unreadable, R::Filtered, R::Unreadable},
         true},
        {"every item unreadable", false, {R::Unreadable, R::Unreadable, R::Unreadable}, false},
        {"one shown after one filtered", false, {R::Filtered, R::Shown}, false},
    };
    for (const auto& c : cases) {
        loop.End();
        settings.randomOrder = settings.noRepeats = c.deck;
        settings.nextIndex = 0;
        loop.SwitchNow();
        std::set<std::string> tried;
        for (std::size_t i = 0; i < c.results.size(); ++i) {
            tried.insert(recorder.log.back());
            const Log after = Finish(c.results[i]);
            // Passed over like an unreadable item, and at most once through the sequence.
            EXPECT_EQ(after.front(), c.results[i] == R::Shown ? "row 1" : "failed") << c.what;
            EXPECT_EQ(loop.Busy(), i + 1 < c.results.size()) << c.what;
        }
        EXPECT_EQ(tried.size(), c.results.size()) << c.what;
        EXPECT_EQ(loop.AllFilteredOut(), c.allFilteredOut) << c.what;
    }
    // Until a show succeeds, or the sequence is built anew.
    loop.SwitchNow();
    Finish(ShowResult::Filtered);
    Finish(ShowResult::Filtered);
    Finish(ShowResult::Filtered);
    ASSERT_TRUE(loop.AllFilteredOut());
    loop.ShowEntry({1, 0, "", "chosen"}, 0);
    Finish(ShowResult::Shown);
    EXPECT_FALSE(loop.AllFilteredOut());
    loop.SwitchNow();
    Finish(ShowResult::Filtered);
    Finish(ShowResult::Filtered);
    Finish(ShowResult::Filtered);
    loop.StartStop();
    EXPECT_FALSE(loop.AllFilteredOut());
    Finish(true);

    // Only the shows of the sequence are filtered: not a direct choice, a history entry or the
    // wallpaper shown again for new displays.
    recorder.filtered.clear();
    loop.SwitchNow();
    Finish(true);
    loop.ShowEntry({1, 0, "", "chosen"}, 0);
    Finish(true);
    loop.ShowPrevious();
    Finish(true);
    loop.ShowCurrentAgain();
    EXPECT_EQ(recorder.filtered, (std::vector<bool>{true, false, false, false}));

    // Changed filters drop what was prepared ahead.
    for (const auto& change : {&AppSettings::minSizePercent, &AppSettings::shapeFilter}) {
        AppSettings before = settings;
        before.*change = 1;
        recorder.log.clear();
        loop.SettingsApplied(before);
        EXPECT_EQ(recorder.log.front(), "drop");
    }
}
