// The switching loop: Start/Stop, the one-second tick, "Switch wallpaper now" and a direct
// choice. It owns the sequence, the position in it and the schedule; each show runs on the
// render worker, and its end arrives through ShowFinished, after which the loop passes over a
// failed item, moves on and stores the position.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "switching/random_source.h"
#include "switching/schedule.h"
#include "switching/shuffle_deck.h"
#include "switching/switching_sequence.h"
#include "switching/wallpaper_history.h"

// The region another program holds to hold back timed switches; Velumar only reads it.
inline constexpr const char* kPauseMarkerName = "7E20B514-4C1D-11d2-8F3A-0040C7A1B2C3";
inline constexpr unsigned kPauseMarkerSize = 276;
inline constexpr std::uint32_t kPauseMarkerValue = 41147;

// What the schedule reads from the system.
class ScheduleEnvironment {
public:
    // Milliseconds since the system started, wrapping at 32 bits.
    virtual std::uint32_t TickCount() = 0;
    virtual LocalTime LocalNow() = 0;
    virtual bool IsScreenSaverRunning() = 0;
    // Whether another program holds the pause marker.
    virtual bool IsPauseRequested() = 0;
    // Whether the foreground window covers its whole monitor (the desktop and the shell's own
    // window do not count).
    virtual bool IsForegroundFullscreen() = 0;
    // Whether the computer runs on battery, or Windows' battery saver is on.
    virtual bool IsOnBattery() = 0;

protected:
    ScheduleEnvironment() = default;
    ~ScheduleEnvironment() = default;
};

// Where the loop's items are rendered: on a worker, never on the caller's thread.
class SwitchRendering {
public:
    // Starts showing that page of the item; the loop then hears ShowFinished with the ticket.
    virtual std::uint64_t BeginShow(const WallpaperEntry& item, int page) = 0;
    virtual void CancelShow() = 0;
    // Starts rendering that page of the item ahead.
    virtual void Prepare(const WallpaperEntry& item, int page) = 0;
    // Forgets what was rendered ahead.
    virtual void DropPrepared() = 0;

protected:
    SwitchRendering() = default;
    ~SwitchRendering() = default;
};

// What the loop tells the main window.
class SwitchingView {
public:
    // The list expanded into the switching sequence.
    virtual std::vector<WallpaperEntry> BuildSwitchingSequence() = 0;
    // Switched to an item of that row: only it is selected (none when it no longer exists).
    virtual void ShowSourceRow(int row) = 0;
    // The position to start from next time, stored at once.
    virtual void StoreNextIndex(int nextIndex) = 0;
    // An item failed to show, or a direct choice ended.
    virtual void OnItemFailed() = 0;
    // A show the window asked for runs (its cursor is busy over the window) or has ended.
    virtual void SetBusy(bool busy) = 0;
    virtual void SetStartStopText(const std::string& text) = 0;
    virtual void UpdateControls() = 0;
    // The deck of the random order without repeats changed; its text is stored at once.
    virtual void StoreDeck(const std::string& text) = 0;
    // The desktop icon caption colours, when the option applies.
    virtual void RefreshIconTextColors() = 0;
    // The tick's list tail: the list's changed flag and the deferred selection refresh.
    virtual void FinishTick() = 0;
    // The history changed (a wallpaper shown, or an earlier one shown again): stored at once.
    virtual void StoreHistory(const WallpaperHistory& history) = 0;

protected:
    SwitchingView() = default;
    ~SwitchingView() = default;
};

class SwitchingLoop {
public:
    SwitchingLoop(AppSettings& settings, RandomSource& random, ScheduleEnvironment& environment,
                  SwitchRendering& rendering, SwitchingView& view)
        : settings(settings),
          random(random),
          environment(environment),
          rendering(rendering),
          view(view) {}

    // The Start/Stop button.
    void StartStop();
    // One tick of the switching timer, after the welcome step.
    void OnTick();
    // "Switch wallpaper now": after going back, the history's next entry; else the item at the
    // stored position (drawn at random already, in random order), building the sequence when
    // there is none; nothing with fewer than two.
    void SwitchNow();
    // "Previous wallpaper": the history's entry before the one on the desktop, rendered afresh;
    // entries that fail (their file gone) are passed over. The sequence and nextIndex stay.
    void ShowPrevious();
    bool HasPrevious() const { return history.HasEarlier(); }
    // The history read at start-up.
    void RestoreHistory(WallpaperHistory restored) { history = std::move(restored); }
    const WallpaperHistory& History() const { return history; }
    // "Set selection as wallpaper": that page of one entry, the position left as it is.
    void ShowEntry(const WallpaperEntry& entry, int page);
    // How the show of a ticket ended; other tickets than the running show's are stale.
    void ShowFinished(std::uint64_t ticket, bool shown);
    // The settings that shape a render changed: the show under way starts again with them and
    // what was prepared ahead is made anew.
    void RenderSettingsChanged();
    // The displays changed: the wallpaper this run put on the desktop is rendered again for them,
    // the same item with nothing advanced (sequence, nextIndex, history and deck stay), and what
    // was prepared ahead is dropped; a show under way starts again instead. Nothing before the
    // first show of the run.
    void ShowCurrentAgain();
    // The window ends: whatever runs is cancelled and the sequence forgotten.
    void End();
    // "Pause switching": no timed switch while paused; one that fell due meanwhile happens at
    // resume. Switches asked for by the user still happen.
    void SetPaused(bool pause);
    bool Paused() const { return paused; }
    // The deck stored by an earlier run (StoreDeck's text); any other text starts a new deck.
    void LoadDeck(std::string_view text) { deck.Load(text); }

    bool Active() const { return switchingActive; }
    // A show runs on the worker.
    bool Busy() const { return job.has_value(); }
    const std::vector<WallpaperEntry>& Sequence() const { return sequence; }

private:
    struct Request {
        // Empty for the next item of the sequence.
        std::optional<WallpaperEntry> entry;
        int page = 0;
        // "Previous wallpaper" rather than the next one.
        bool back = false;
    };
    struct Job {
        Request request;
        std::uint64_t ticket = 0;
        int attempts = 0;
        int lastTried = 0;
        // The history entry being shown again; -1 for the sequence or a direct choice.
        int historyAt = -1;
    };

    // After going back, shows the history's later entries again, newest last; then the item at
    // nextIndex, passing over items that fail (at most once through the sequence), then moves
    // nextIndex on in order or at random and stores it. A request while a show runs waits,
    // once, until it ends.
    void SwitchToNext();
    void Run(const Request& request);
    void Begin();
    // The sequence's show ended: the row, the next position, the interval, the next preparation.
    void FinishSwitch();
    void EndJob();
    // A history show failed: the entry beyond it in the same direction, or after the newest the
    // sequence; false when there is none.
    bool PassOverHistoryEntry();
    void RecordShown(const WallpaperEntry& item, int page);
    // Puts nextIndex in range: a random start in random order, else 0 when outside.
    void PrepareNextIndex(bool randomStart);
    void PrepareNext();
    // A timed switch fell due (or one held back earlier waits): it happens unless something
    // holds it back now.
    void OnTimedSwitchDue(bool due);
    int Count() const { return static_cast<int>(sequence.size()); }
    // Random order without repeats: the next position comes from the deck.
    bool DealsFromDeck() const { return settings.randomOrder && settings.noRepeats; }
    int DealNext();
    std::vector<DeckCard> Cards() const;

    AppSettings& settings;
    RandomSource& random;
    ScheduleEnvironment& environment;
    SwitchRendering& rendering;
    SwitchingView& view;
    bool switchingActive = false;
    int stopPhase = 0;
    std::vector<WallpaperEntry> sequence;
    SwitchSchedule schedule;
    std::optional<Job> job;
    std::optional<Request> waiting;
    WallpaperHistory history;
    bool paused = false;
    // A timed switch fell due while the user's pause, a full-screen window or the battery held
    // it back; it is made up once they let go. (The pause marker of another program drops it.)
    bool missedSwitch = false;
    ShuffleDeck deck{random};
    // What this run last put on the desktop; nothing before its first show.
    std::optional<HistoryEntry> onDesktop;
};
