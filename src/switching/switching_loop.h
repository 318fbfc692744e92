// The switching loop: Start/Stop, the one-second tick, "Switch wallpaper now" and a direct
// choice. It owns the sequence, the position in it and the schedule; each show runs on the
// render worker, and its end arrives through ShowFinished, after which the loop passes over an
// item that could not be read, moves on and stores the position. A bitmap that could not be
// saved or set keeps the position: the same item is tried again at the next due switch. With a
// picture per monitor (monitor mode 2) a show takes one item per monitor (monitor_items.h), and a
// direct choice or a history entry is shown on every monitor. The history records every monitor's
// picture of a show, so "Previous wallpaper" brings each back on its monitor.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "render/monitor_layout.h"
#include "render/show_picture.h"
#include "switching/monitor_items.h"
#include "switching/picture_marks.h"
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
    // Starts showing the pictures (one, or one per monitor); the loop then hears ShowFinished
    // with the ticket. Filtered for a show of the switching sequence: the filters of the
    // settings may leave its pictures out (ShowResult::Filtered).
    virtual std::uint64_t BeginShow(const std::vector<ShowPicture>& pictures, bool filtered) = 0;
    virtual void CancelShow() = 0;
    // Starts rendering the pictures of the sequence's next show ahead, filtered as its show is.
    virtual void Prepare(const std::vector<ShowPicture>& pictures) = 0;
    // Forgets what was rendered ahead.
    virtual void DropPrepared() = 0;
    // Reads the shapes of the pictures from their files' headers (ReadPictureShape) off the
    // caller's thread; the loop hears them through ShapesRead, possibly before this returns.
    virtual void ReadShapes(const std::vector<ShowPicture>& pictures) = 0;

protected:
    SwitchRendering() = default;
    ~SwitchRendering() = default;
};

// Where the loop keeps what outlives a run; the files are written off the caller's thread.
class SwitchingStore {
public:
    // The position to start from next time.
    virtual void StoreNextIndex(int nextIndex) = 0;
    // The deck of the random order without repeats, whole, or journal lines added to it.
    virtual void SaveDeck(std::string text) = 0;
    virtual void AppendDeck(std::string lines) = 0;
    // The history (WallpaperHistory::ToText).
    virtual void SaveHistory(std::string text) = 0;
    // The pictures never to be shown again, and the favourites (PictureMarks::ToText).
    virtual void SaveHidden(std::string text) = 0;
    virtual void SaveFavourites(std::string text) = 0;

protected:
    SwitchingStore() = default;
    ~SwitchingStore() = default;
};

// What the loop tells the main window.
class SwitchingView {
public:
    // The list expanded into the switching sequence.
    virtual std::vector<WallpaperEntry> BuildSwitchingSequence() = 0;
    // Switched to an item of that row: only it is selected (none when it no longer exists).
    virtual void ShowSourceRow(int row) = 0;
    // An item could not be read and was passed over.
    virtual void OnItemFailed() = 0;
    // Why the last show's bitmap could not be saved or made the wallpaper (the title and the
    // tray tip say so); empty once a show succeeded.
    virtual void SetPublishFailure(const std::string& why) = 0;
    // A show the window asked for runs (its cursor is busy over the window) or has ended.
    virtual void SetBusy(bool busy) = 0;
    virtual void SetStartStopText(const std::string& text) = 0;
    virtual void UpdateControls() = 0;
    // The monitors in OrderMonitors' order, asked at every show with a picture per monitor.
    virtual std::vector<MonitorRect> Monitors() = 0;

protected:
    SwitchingView() = default;
    ~SwitchingView() = default;
};

class SwitchingLoop {
public:
    SwitchingLoop(AppSettings& settings, RandomSource& random, ScheduleEnvironment& environment,
                  SwitchRendering& rendering, SwitchingView& view, SwitchingStore& store)
        : settings(settings),
          random(random),
          environment(environment),
          rendering(rendering),
          view(view),
          store(store) {}

    // The Start/Stop button.
    void StartStop();
    // One tick of the switching timer, after the welcome step; false while the screen saver
    // runs, when the tick does nothing else either.
    bool OnTick();
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
    // The shapes ReadShapes was asked for; a show or a preparation waiting for them goes on.
    void ShapesRead(const std::vector<std::pair<ShowPicture, PictureShape>>& read);
    // How the show of a ticket ended (for NotSet, why); other tickets than the running show's
    // are stale.
    void ShowFinished(std::uint64_t ticket, ShowResult result, const std::string& why = {});
    // The settings that shape a render changed: the show under way starts again with them and
    // what was prepared ahead is made anew.
    void RenderSettingsChanged();
    // The properties were applied over these settings: only a change that shapes a render or
    // the items of a show renders anything again.
    void SettingsApplied(const AppSettings& before);
    // The displays changed: the wallpaper this run put on the desktop is rendered again for them,
    // the same item with nothing advanced (sequence, nextIndex, history and deck stay), and what
    // was prepared ahead is dropped; a show under way starts again instead. Nothing before the
    // first show of the run. While a hold (pause, full screen, battery) is on it waits until the
    // hold ends, and a show of the loop meanwhile makes it unnecessary.
    void ShowCurrentAgain();
    // The displays are back as the wallpaper was rendered for: a render waiting for a hold to
    // end is not needed any more.
    void DropShowAgain() { showAgainWaits = false; }
    // "Remove wallpaper now": the show under way is dropped, the position kept.
    void CancelShow();
    // The window ends: whatever runs is cancelled and the sequence forgotten.
    void End();
    // "Pause switching": no timed switch while paused; one that fell due meanwhile happens at
    // resume. Switches asked for by the user still happen.
    void SetPaused(bool pause);
    bool Paused() const { return paused; }
    // The deck stored by an earlier run (SaveDeck's text and AppendDeck's lines after it); any
    // other text starts a new deck.
    void LoadDeck(std::string_view text) { deck.Load(text); }

    // The hidden pictures and the favourites read at start-up.
    void RestoreMarks(PictureMarks hiddenPictures, PictureMarks favouritePictures);
    const PictureMarks& Hidden() const { return hidden; }
    const PictureMarks& Favourites() const { return favourites; }
    // What is on the desktop: this run's last show, else the history's current entry; with a
    // picture per monitor, one per monitor in OrderMonitors' order. Empty when nothing is known.
    std::vector<ShowPicture> PicturesOnDesktop() const;
    // "Never show this picture": it leaves the sequence for good (the file is not touched), and
    // when it is on the desktop the next picture is shown at once.
    void Hide(const ShowPicture& picture);
    // "Show again": the pictures come back into the sequence.
    void ShowAgain(const std::vector<MarkedPicture>& pictures);
    // "Favourite": marks the picture, or unmarks it when it is one.
    void ToggleFavourite(const ShowPicture& picture);
    // "Only favourites" is chosen but none of the list is a favourite: the whole list shows.
    bool NoFavouritesToShow() const { return noFavourites; }

    bool Active() const { return switchingActive; }
    // The last switch went through the whole sequence without showing anything, and the filters
    // left out at least one of its items; until a show succeeds or the sequence is built anew.
    bool AllFilteredOut() const { return allFilteredOut; }
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
        // With a picture per monitor: the items of the show under way; empty until chosen.
        MonitorItems set = {};
        // The history entry being shown again; -1 for the sequence or a direct choice.
        int historyAt = -1;
        // What the show under way puts on the desktop.
        std::vector<ShowPicture> pictures = {};
        // With a picture per monitor: the set waits for the shapes of its candidates.
        bool awaitingShapes = false;
        // The filters left out an item tried by this switch.
        bool filtered = false;
    };

    // After going back, shows the history's later entries again, newest last; then the item at
    // nextIndex, passing over items that fail (at most once through the sequence), then moves
    // nextIndex on in order or at random and stores it. A request while a show runs waits,
    // once, until it ends.
    void SwitchToNext();
    void Run(const Request& request);
    void Begin();
    // Starts showing the pictures for the job; the ticket.
    std::uint64_t ShowPictures(std::vector<ShowPicture> pictures);
    // Shows the sequence's items from nextIndex, one per monitor.
    void BeginPerMonitor();
    // The sequence's show ended: the row, the next position, the interval, the next preparation.
    void FinishSwitch();
    void EndJob();
    // A history show failed: the entry beyond it in the same direction, or after the newest the
    // sequence; false when there is none.
    bool PassOverHistoryEntry();
    // The job's pictures go into the history: the first monitor's, and the others' when they
    // differ.
    void RecordShown();
    // Puts nextIndex in range: a random start in random order, else 0 when outside.
    void PrepareNextIndex(bool randomStart);
    void PrepareNext();
    // A timed switch fell due (or one held back earlier waits): it happens unless something
    // holds it back now.
    void OnTimedSwitchDue(bool due);
    // The user's pause, a full-screen window or the battery holds timed work back.
    bool Held();
    // A show of the sequence ended: its items count as dealt from the deck.
    void DealShown();
    int Count() const { return static_cast<int>(sequence.size()); }
    // How far a show of the sequence moves nextIndex on in order: past its set, or one item.
    int Advance() const {
        return PerMonitor() && job && job->set.advance > 0 ? job->set.advance : 1;
    }
    // The position of the item shown (on the first monitor).
    int ShownPosition() const {
        return PerMonitor() && job && !job->set.positions.empty() ? job->set.positions.front()
                                                                  : job->lastTried;
    }
    // Monitor mode 2: a picture per monitor.
    bool PerMonitor() const { return settings.render.monitorMode == 2; }
    // Whether the next position is drawn rather than the following one.
    bool InRandomOrder() const { return DealsFromDeck() || (settings.randomOrder && Count() >= 4); }
    // The pictures of one item: once, or on every monitor with a picture per monitor.
    std::vector<ShowPicture> PicturesOf(const std::string& path, int rotation, int page);
    std::vector<ShowPicture> PicturesOf(const MonitorItems& set) const;
    std::vector<ShowPicture> PicturesOf(const HistoryEntry& entry);
    // Whether each monitor, in order, is taller than wide; one wide monitor when none is known.
    std::vector<bool> PortraitMonitors();
    // The items of the show from nextIndex on those monitors; nothing while the shapes of the
    // items it may look at are being read (ReadShapes was asked for them).
    std::optional<MonitorItems> ChooseSet(const std::vector<bool>& portraitMonitors);
    // The set chosen ahead when it was chosen for nextIndex and these monitors, else a new one;
    // null while shapes are being read.
    const MonitorItems* UpcomingSet();
    // In random order: the positions drawn for the set from nextIndex on that many monitors,
    // drawn once for them.
    std::vector<int> Draws(std::size_t monitors);
    // The picture of an item of the sequence, and of the item at that position.
    static ShowPicture PictureOf(const WallpaperEntry& item);
    ShowPicture PictureAt(int position) const;
    using PictureKey = std::tuple<std::string, int, int>;
    static PictureKey ShapeKey(const ShowPicture& picture) {
        return {picture.path, picture.rotation, picture.page};
    }
    // Random order without repeats: the next position comes from the deck.
    bool DealsFromDeck() const { return settings.randomOrder && settings.noRepeats; }
    // The deck's next card; a deck that starts takes the picture already waiting first.
    int NextFromDeck();
    // Writes what changed in the deck: whole, or the journal lines of the cards dealt.
    void StoreDeck();
    // The sequence's items as the deck's cards, made once per sequence.
    const std::vector<DeckCard>& Cards();
    // A new sequence: what was derived from the old one goes.
    void SetSequence(std::vector<WallpaperEntry> items);
    // The sequence made again from the items built, without the hidden pictures and, with
    // "only favourites", of the favourites alone. The item waiting at nextIndex keeps its place
    // when it is still there; else the item after it comes next. A show of the sequence under
    // way is cancelled when the sequence changes.
    void Rederive();
    std::vector<WallpaperEntry> Derive() const;
    // What follows from the favourites in the sequence: the weighted draw's positions and
    // whether "only favourites" found none.
    void NoteFavourites();
    // A position drawn at random; a favourite three times as likely when favourites come three
    // times as often.
    int DrawPosition();
    // The sequence position of a card of Cards() (a favourite's further copies follow the
    // sequence's own cards).
    int ItemOfCard(int card) const {
        return card < Count() ? card : cardItems[static_cast<std::size_t>(card - Count())];
    }
    // Favourites come three times as often.
    bool Weighted() const { return settings.favourites == 1; }

    AppSettings& settings;
    RandomSource& random;
    ScheduleEnvironment& environment;
    SwitchRendering& rendering;
    SwitchingView& view;
    SwitchingStore& store;
    bool switchingActive = false;
    int stopPhase = 0;
    // The list expanded, and the sequence shown from it (hidden pictures left out).
    std::vector<WallpaperEntry> built;
    std::vector<WallpaperEntry> sequence;
    PictureMarks hidden;
    PictureMarks favourites;
    bool noFavourites = false;
    // The positions of the favourites in the sequence, for the weighted draw.
    std::vector<int> favouritePositions;
    SwitchSchedule schedule;
    std::optional<Job> job;
    std::optional<Request> waiting;
    WallpaperHistory history;
    bool paused = false;
    // A timed switch fell due while the user's pause, a full-screen window or the battery held
    // it back; it is made up once they let go. (The pause marker of another program drops it.)
    bool missedSwitch = false;
    ShuffleDeck deck{random};
    // With a picture per monitor: the set chosen ahead for the show from upcomingStart.
    MonitorItems upcoming;
    int upcomingStart = -1;
    std::vector<bool> upcomingMonitors;
    std::vector<int> draws;
    int drawsStart = -1;
    std::size_t drawsMonitors = 0;
    // The shapes read for the sequence's pictures, and those asked for and not yet heard.
    std::map<PictureKey, PictureShape> shapes;
    std::set<PictureKey> shapesAsked;
    // ReadShapes runs on this stack.
    bool choosing = false;
    // What this run last put on the desktop (one picture per monitor in that mode); nothing
    // before its first show.
    std::vector<ShowPicture> onDesktop;
    // The displays changed while a hold was on: the wallpaper is rendered again once it ends.
    bool showAgainWaits = false;
    // Cards() for the sequence; empty until asked. The cards past the sequence's own are the
    // favourites' further copies, and cardItems gives their positions.
    std::vector<DeckCard> cards;
    std::vector<int> cardItems;
    bool cardsMade = false;
    bool allFilteredOut = false;
};
