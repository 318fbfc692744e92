// The switching loop.
#include "switching/switching_loop.h"

#include <algorithm>
#include <utility>

#include "base/scoped_flag.h"

void SwitchingLoop::StartStop() {
    if (switchingActive) {
        switchingActive = false;
        missedSwitch = false;
        SetSequence({});
        waiting.reset();
        if (job && !job->request.entry) {
            rendering.CancelShow();
            EndJob();
        }
        rendering.DropPrepared();
        view.UpdateControls();
        return;
    }
    SetSequence(view.BuildSwitchingSequence());
    if (sequence.empty()) {
        view.UpdateControls();
        return;
    }
    PrepareNextIndex(true);
    stopPhase = 1;
    switchingActive = settings.switchMode != 0;
    if (settings.switchMode == 2) {
        if (settings.switchTimes.empty()) {
            switchingActive = false;
            SetSequence({});
        } else {
            schedule.BuildTimeTable(settings.switchTimes);
            PrepareNext();
        }
    } else {
        // The first change comes at once; in mode 0 it is the only one.
        SwitchToNext();
    }
    view.UpdateControls();
}

bool SwitchingLoop::OnTick() {
    if (environment.IsScreenSaverRunning()) {
        return false;
    }
    if (switchingActive) {
        view.SetStartStopText(StopButtonText(stopPhase));
        stopPhase = (stopPhase + 1) % 4;
        // Due first: a due time of day is marked fired even when something holds it back. While
        // a show runs nothing is asked, so a time of day that falls due then fires afterwards.
        if (!Busy()) {
            OnTimedSwitchDue(schedule.IsSwitchDue(settings.switchMode, environment.TickCount(),
                                                  environment.LocalNow()));
        }
    }
    // A switch that started above renders for the displays as they are now.
    if (showAgainWaits && !Busy() && !Held()) {
        ShowCurrentAgain();
    }
    return true;
}

bool SwitchingLoop::Held() {
    return paused || (settings.holdWhenFullscreen && environment.IsForegroundFullscreen()) ||
           (settings.holdOnBattery && environment.IsOnBattery());
}

void SwitchingLoop::OnTimedSwitchDue(bool due) {
    if ((!due && !missedSwitch) || sequence.empty()) {
        return;
    }
    if (Held()) {
        missedSwitch = true;
        return;
    }
    if (environment.IsPauseRequested()) {
        return;
    }
    missedSwitch = false;
    SwitchToNext();
}

void SwitchingLoop::SetPaused(bool pause) {
    paused = pause;
    if (!paused && switchingActive && !Busy()) {
        OnTimedSwitchDue(false);
    }
}

void SwitchingLoop::SwitchNow() {
    if (sequence.empty()) {
        SetSequence(view.BuildSwitchingSequence());
        PrepareNextIndex(false);
    }
    if (sequence.size() < 2 && !history.HasLater()) {
        return;
    }
    SwitchToNext();
}

void SwitchingLoop::ShowPrevious() {
    Request request;
    request.back = true;
    Run(request);
}

void SwitchingLoop::ShowEntry(const WallpaperEntry& entry, int page) {
    Run({entry, page});
}

void SwitchingLoop::SwitchToNext() {
    Run({});
}

void SwitchingLoop::Run(const Request& request) {
    if (job) {
        waiting = request;
        return;
    }
    int historyAt = -1;
    if (!request.entry) {
        if (request.back ? history.HasEarlier() : history.HasLater()) {
            historyAt = history.Current() + (request.back ? -1 : 1);
        } else if (request.back || sequence.empty()) {
            return;
        }
    }
    job = Job{request};
    job->historyAt = historyAt;
    // The show renders for the displays as they are now.
    showAgainWaits = false;
    view.SetBusy(true);
    if (request.entry) {
        job->ticket =
            ShowPictures(PicturesOf(request.entry->path, request.entry->rotation, request.page));
        return;
    }
    int& nextIndex = settings.nextIndex;
    if (historyAt < 0 && (nextIndex < 0 || nextIndex >= Count())) {
        nextIndex = 0;
    }
    Begin();
}

void SwitchingLoop::Begin() {
    if (job->historyAt >= 0) {
        const HistoryEntry& entry = history.Entries()[static_cast<std::size_t>(job->historyAt)];
        if (hidden.Contains(entry.path, entry.page)) {
            // Never shown again, not even going back.
            if (!PassOverHistoryEntry()) {
                EndJob();
            }
            return;
        }
        job->ticket = ShowPictures(PicturesOf(entry));
        return;
    }
    job->lastTried = settings.nextIndex;
    if (PerMonitor()) {
        BeginPerMonitor();
        return;
    }
    job->ticket = ShowPictures({PictureAt(settings.nextIndex)});
}

void SwitchingLoop::BeginPerMonitor() {
    if (job->set.positions.empty()) {
        const MonitorItems* set = UpcomingSet();
        if (set == nullptr) {
            // The shapes are being read; ShapesRead goes on from here.
            job->ticket = 0;
            job->awaitingShapes = true;
            return;
        }
        job->set = *set;
        upcomingStart = -1;
    }
    job->ticket = ShowPictures(PicturesOf(job->set));
}

void SwitchingLoop::ShapesRead(const std::vector<std::pair<ShowPicture, PictureShape>>& read) {
    for (const auto& [picture, shape] : read) {
        shapes[ShapeKey(picture)] = shape;
        shapesAsked.erase(ShapeKey(picture));
    }
    // Answered while the loop asked: it goes on by itself.
    if (choosing) {
        return;
    }
    if (job && job->awaitingShapes) {
        job->awaitingShapes = false;
        BeginPerMonitor();
    } else if (!job) {
        PrepareNext();
    }
}

std::vector<bool> SwitchingLoop::PortraitMonitors() {
    std::vector<bool> portrait;
    for (const MonitorRect& monitor : view.Monitors()) {
        portrait.push_back(monitor.IsPortrait());
    }
    if (portrait.empty()) {
        portrait.push_back(false);
    }
    return portrait;
}

std::vector<int> SwitchingLoop::Draws(std::size_t monitors) {
    if (drawsStart == settings.nextIndex && drawsMonitors == monitors) {
        return draws;
    }
    // A monitor draws at most twice kOrientationSearch items.
    const int count = 2 * kOrientationSearch * static_cast<int>(monitors);
    draws.clear();
    // From the deck, the cards to come after the first, in their order: looking deals nothing,
    // so a set chosen again (new settings, new monitors) uses up no card. Past the deck's end,
    // any item.
    if (DealsFromDeck()) {
        const std::vector<int> cardsToCome = deck.Upcoming(Cards(), count + 1);
        StoreDeck();
        for (std::size_t i = 1; i < cardsToCome.size(); ++i) {
            draws.push_back(ItemOfCard(cardsToCome[i]));
        }
    }
    while (static_cast<int>(draws.size()) < count) {
        draws.push_back(DrawPosition());
    }
    drawsStart = settings.nextIndex;
    drawsMonitors = monitors;
    return draws;
}

std::optional<MonitorItems> SwitchingLoop::ChooseSet(const std::vector<bool>& portraitMonitors) {
    // The positions the choice may look at: in order the next ones, at random the ones drawn
    // (drawn once, so the choice made after the shapes arrive is the one they were read for).
    std::vector<int> looked{settings.nextIndex};
    std::vector<int> drawn;
    if (InRandomOrder()) {
        drawn = Draws(portraitMonitors.size());
        looked.insert(looked.end(), drawn.begin(), drawn.end());
    } else {
        const int reach = std::min(
            Count(), static_cast<int>(portraitMonitors.size()) + 2 * kOrientationSearch + 1);
        for (int k = 1; k < reach; ++k) {
            looked.push_back((settings.nextIndex + k) % Count());
        }
    }
    // Unreadable items are passed over before the show, so every one looked at needs its shape.
    std::vector<ShowPicture> missing;
    for (const int position : looked) {
        const ShowPicture picture = PictureAt(position);
        if (!shapes.contains(ShapeKey(picture)) && shapesAsked.insert(ShapeKey(picture)).second) {
            missing.push_back(picture);
        }
    }
    if (!missing.empty()) {
        const ScopedFlag asking(choosing);
        rendering.ReadShapes(missing);
    }
    for (const int position : looked) {
        if (!shapes.contains(ShapeKey(PictureAt(position)))) {
            return std::nullopt;
        }
    }
    const ShapeOfItem shapeOf = [this](const WallpaperEntry& item) {
        const auto found = shapes.find(ShapeKey(PictureOf(item)));
        return found == shapes.end() ? PictureShape::Unknown : found->second;
    };
    if (!InRandomOrder()) {
        // It may move items forward in the sequence.
        cardsMade = false;
        return ChooseInOrder(sequence, settings.nextIndex, portraitMonitors,
                             settings.matchOrientation, shapeOf);
    }
    std::size_t next = 0;
    return ChooseAtRandom(sequence, settings.nextIndex, portraitMonitors, settings.matchOrientation,
                          shapeOf,
                          [&] { return next < drawn.size() ? drawn[next++] : DrawPosition(); });
}

const MonitorItems* SwitchingLoop::UpcomingSet() {
    std::vector<bool> portrait = PortraitMonitors();
    if (upcomingStart != settings.nextIndex || upcomingMonitors != portrait) {
        std::optional<MonitorItems> set = ChooseSet(portrait);
        if (!set) {
            return nullptr;
        }
        upcoming = std::move(*set);
        upcomingStart = settings.nextIndex;
        upcomingMonitors = std::move(portrait);
    }
    return &upcoming;
}

ShowPicture SwitchingLoop::PictureOf(const WallpaperEntry& item) {
    // An item of the sequence stands for one page: its text is that page's number.
    return {item.path, item.rotation, ParsePageList(item.pages).front()};
}

ShowPicture SwitchingLoop::PictureAt(int position) const {
    return PictureOf(sequence[static_cast<std::size_t>(position)]);
}

std::vector<ShowPicture> SwitchingLoop::PicturesOf(const std::string& path, int rotation,
                                                   int page) {
    const std::size_t count = PerMonitor() ? PortraitMonitors().size() : 1;
    return std::vector<ShowPicture>(count, ShowPicture{path, rotation, page});
}

std::vector<ShowPicture> SwitchingLoop::PicturesOf(const HistoryEntry& entry) {
    std::vector<ShowPicture> pictures = PicturesOf(entry.path, entry.rotation, entry.page);
    // A picture per monitor comes back on the same monitors, as far as there are as many now.
    for (std::size_t i = 1; i < pictures.size() && i <= entry.otherMonitors.size(); ++i) {
        pictures[i] = entry.otherMonitors[i - 1];
    }
    return pictures;
}

std::vector<ShowPicture> SwitchingLoop::PicturesOf(const MonitorItems& set) const {
    std::vector<ShowPicture> pictures;
    for (const int position : set.positions) {
        pictures.push_back(PictureAt(position));
    }
    return pictures;
}

std::uint64_t SwitchingLoop::ShowPictures(std::vector<ShowPicture> pictures) {
    job->pictures = pictures;
    // The filters keep pictures out of the rotation only: a picture chosen directly or brought
    // back from the history is shown whatever its size.
    return rendering.BeginShow(job->pictures, !job->request.entry && job->historyAt < 0);
}

void SwitchingLoop::ShowFinished(std::uint64_t ticket, ShowResult result, const std::string& why) {
    if (!job || ticket != job->ticket) {
        return;
    }
    const bool shown = result == ShowResult::Shown;
    if (shown) {
        onDesktop = job->pictures;
        view.SetPublishFailure({});
        allFilteredOut = false;
    }
    if (result == ShowResult::NotSet || result == ShowResult::Cancelled) {
        // The pictures are fine but the desktop did not take them: the position stays, and the
        // next due switch tries the same again, an interval from now rather than at once.
        if (result == ShowResult::NotSet) {
            view.SetPublishFailure(why);
        }
        if (!job->request.entry) {
            schedule.ArmInterval(settings, environment.TickCount());
        }
        EndJob();
        return;
    }
    if (job->request.entry) {
        if (shown) {
            RecordShown();
        } else {
            view.OnItemFailed();
        }
        EndJob();
        return;
    }
    if (job->historyAt >= 0) {
        if (shown) {
            history.SetCurrent(job->historyAt);
            store.SaveHistory(history.ToText());
            // The picture chosen stays for a whole interval, as after "Switch wallpaper now".
            schedule.ArmInterval(settings, environment.TickCount());
        } else {
            view.OnItemFailed();
            if (PassOverHistoryEntry()) {
                return;
            }
        }
        EndJob();
        return;
    }
    // With a picture per monitor a failed show passes over its whole set: the next set is tried.
    // A set with a picture the filters left out fails as a whole too. A filtered item is passed
    // over as an unreadable one is, and counted apart.
    const int advance = Advance();
    if (!shown) {
        job->filtered = job->filtered || result == ShowResult::Filtered;
        if (DealsFromDeck()) {
            // An item that cannot be read is dealt like a shown one, so the deck moves past it.
            DealShown();
            settings.nextIndex = NextFromDeck();
        } else {
            settings.nextIndex = (settings.nextIndex + advance) % Count();
        }
        view.OnItemFailed();
        job->attempts += advance;
        if (job->attempts < Count()) {
            job->set = {};
            Begin();
            return;
        }
        allFilteredOut = job->filtered;
    }
    if (shown) {
        RecordShown();
    }
    FinishSwitch();
}

void SwitchingLoop::DealShown() {
    if (!DealsFromDeck()) {
        return;
    }
    const std::vector<DeckCard>& all = Cards();
    if (PerMonitor() && !job->set.positions.empty()) {
        for (const int position : job->set.positions) {
            deck.Shown(all, position);
        }
    } else {
        deck.Shown(all, job->lastTried);
    }
}

bool SwitchingLoop::PassOverHistoryEntry() {
    job->historyAt += job->request.back ? -1 : 1;
    if (job->historyAt >= 0 && job->historyAt < static_cast<int>(history.Entries().size())) {
        Begin();
        return true;
    }
    job->historyAt = -1;
    if (job->request.back || sequence.empty()) {
        return false;
    }
    // Every later entry failed: on with the sequence.
    if (settings.nextIndex < 0 || settings.nextIndex >= Count()) {
        settings.nextIndex = 0;
    }
    Begin();
    return true;
}

void SwitchingLoop::RecordShown() {
    const ShowPicture& first = job->pictures.front();
    HistoryEntry entry{first.path, first.page, first.rotation, environment.LocalNow(), {}};
    if (std::any_of(job->pictures.begin(), job->pictures.end(),
                    [&first](const ShowPicture& picture) { return !(picture == first); })) {
        entry.otherMonitors.assign(job->pictures.begin() + 1, job->pictures.end());
    }
    history.Record(std::move(entry));
    store.SaveHistory(history.ToText());
}

void SwitchingLoop::FinishSwitch() {
    const int n = Count();
    int& nextIndex = settings.nextIndex;
    view.ShowSourceRow(sequence[static_cast<std::size_t>(ShownPosition())].index);
    if (DealsFromDeck()) {
        // A set that failed as a whole was dealt when it failed.
        if (job->attempts < n) {
            DealShown();
        }
        nextIndex = NextFromDeck();
    } else if (settings.randomOrder && n >= 4) {
        int next = nextIndex;
        while (next == nextIndex) {
            next = DrawPosition();
        }
        nextIndex = next;
    } else {
        nextIndex = (nextIndex + Advance()) % n;
    }
    store.StoreNextIndex(nextIndex);
    schedule.ArmInterval(settings, environment.TickCount());
    EndJob();
}

void SwitchingLoop::EndJob() {
    job.reset();
    view.SetBusy(false);
    if (std::optional<Request> next = std::exchange(waiting, std::nullopt)) {
        Run(*next);
    }
    if (!job) {
        PrepareNext();
    }
}

void SwitchingLoop::RenderSettingsChanged() {
    rendering.DropPrepared();
    upcomingStart = -1;
    if (!job) {
        PrepareNext();
        return;
    }
    rendering.CancelShow();
    if (job->request.entry) {
        job->ticket = ShowPictures(
            PicturesOf(job->request.entry->path, job->request.entry->rotation, job->request.page));
    } else {
        Begin();
    }
}

void SwitchingLoop::SettingsApplied(const AppSettings& before) {
    const AppSettings& now = settings;
    if (before.render.uprightPhotos != now.render.uprightPhotos) {
        // Turning photos upright changes the shapes pictures are matched to monitors by.
        shapes.clear();
        shapesAsked.clear();
    }
    if (before.favourites != now.favourites) {
        Rederive();
    }
    if (!(before.render.Normalized() == now.render.Normalized()) ||
        before.matchOrientation != now.matchOrientation || before.randomOrder != now.randomOrder ||
        before.noRepeats != now.noRepeats || before.minSizePercent != now.minSizePercent ||
        before.shapeFilter != now.shapeFilter) {
        RenderSettingsChanged();
    }
}

void SwitchingLoop::CancelShow() {
    waiting.reset();
    if (job) {
        rendering.CancelShow();
        EndJob();
    }
}

void SwitchingLoop::ShowCurrentAgain() {
    if (Held()) {
        showAgainWaits = !onDesktop.empty() || job.has_value();
        return;
    }
    showAgainWaits = false;
    if (job) {
        RenderSettingsChanged();
        return;
    }
    rendering.DropPrepared();
    if (!onDesktop.empty()) {
        // Not a job: it records nothing, and the ticket it reports is stale to ShowFinished. A
        // switch asked for meanwhile replaces it on the worker.
        rendering.BeginShow(onDesktop, false);
    }
    PrepareNext();
}

void SwitchingLoop::End() {
    waiting.reset();
    missedSwitch = false;
    if (job) {
        rendering.CancelShow();
        job.reset();
    }
    switchingActive = false;
    showAgainWaits = false;
    SetSequence({});
}

void SwitchingLoop::PrepareNextIndex(bool randomStart) {
    int& nextIndex = settings.nextIndex;
    if (DealsFromDeck()) {
        nextIndex = NextFromDeck();
    } else if (randomStart && settings.randomOrder && Count() > 0) {
        nextIndex = DrawPosition();
    }
    if (nextIndex < 0 || nextIndex >= Count()) {
        nextIndex = 0;
    }
}

void SwitchingLoop::PrepareNext() {
    const int next = settings.nextIndex;
    if (next < 0 || next >= Count()) {
        return;
    }
    if (PerMonitor()) {
        // Without the shapes yet, ShapesRead prepares it when they arrive.
        if (const MonitorItems* set = UpcomingSet()) {
            rendering.Prepare(PicturesOf(*set));
        }
        return;
    }
    rendering.Prepare({PictureAt(next)});
}

int SwitchingLoop::NextFromDeck() {
    const std::vector<DeckCard>& all = Cards();
    if (deck.Empty()) {
        // The picture waiting from before (the position stored without a deck) comes first.
        const int waitingPicture = settings.nextIndex;
        deck.StartWith(all, waitingPicture >= 0 && waitingPicture < Count() ? waitingPicture : -1);
    }
    const int next = deck.Next(all);
    StoreDeck();
    return next < 0 ? next : ItemOfCard(next);
}

void SwitchingLoop::StoreDeck() {
    if (deck.TakeRewrite()) {
        deck.TakeJournal();
        store.SaveDeck(deck.Save());
    } else if (std::string lines = deck.TakeJournal(); !lines.empty()) {
        store.AppendDeck(std::move(lines));
    }
}

const std::vector<DeckCard>& SwitchingLoop::Cards() {
    if (!cardsMade) {
        cards.clear();
        cardItems.clear();
        cards.reserve(sequence.size());
        for (int position = 0; position < Count(); ++position) {
            const ShowPicture picture = PictureAt(position);
            cards.push_back({picture.path, picture.page});
        }
        if (Weighted()) {
            for (const int position : favouritePositions) {
                for (int copy = 1; copy <= 2; ++copy) {
                    cards.push_back({cards[static_cast<std::size_t>(position)].path,
                                     cards[static_cast<std::size_t>(position)].page, copy});
                    cardItems.push_back(position);
                }
            }
        }
        cardsMade = true;
    }
    return cards;
}

void SwitchingLoop::SetSequence(std::vector<WallpaperEntry> items) {
    built = std::move(items);
    sequence = Derive();
    NoteFavourites();
    allFilteredOut = false;
    upcomingStart = -1;
    drawsStart = -1;
    // Read again for a new sequence: a file may have been replaced meanwhile.
    shapes.clear();
    shapesAsked.clear();
}

std::vector<WallpaperEntry> SwitchingLoop::Derive() const {
    std::vector<WallpaperEntry> shown;
    std::vector<WallpaperEntry> favoured;
    for (const WallpaperEntry& item : built) {
        const ShowPicture picture = PictureOf(item);
        if (hidden.Contains(picture)) {
            continue;
        }
        shown.push_back(item);
        if (settings.favourites == 2 && favourites.Contains(picture)) {
            favoured.push_back(item);
        }
    }
    return favoured.empty() ? shown : favoured;
}

void SwitchingLoop::NoteFavourites() {
    noFavourites =
        settings.favourites == 2 && !sequence.empty() &&
        std::none_of(sequence.begin(), sequence.end(), [this](const WallpaperEntry& item) {
            return favourites.Contains(PictureOf(item));
        });
    favouritePositions.clear();
    for (int position = 0; position < Count(); ++position) {
        if (favourites.Contains(PictureAt(position))) {
            favouritePositions.push_back(position);
        }
    }
    cardsMade = false;
    drawsStart = -1;
}

void SwitchingLoop::Rederive() {
    std::vector<WallpaperEntry> items = Derive();
    if (items == sequence) {
        NoteFavourites();
        return;
    }
    // A show of the sequence under way has positions in the old one.
    const bool cancelled = job && !job->request.entry && job->historyAt < 0;
    if (cancelled) {
        rendering.CancelShow();
    }
    int& nextIndex = settings.nextIndex;
    if (nextIndex >= 0 && nextIndex < Count()) {
        const WallpaperEntry& waitingItem = sequence[static_cast<std::size_t>(nextIndex)];
        const auto found = std::find(items.begin(), items.end(), waitingItem);
        if (found != items.end()) {
            nextIndex = static_cast<int>(found - items.begin());
        } else {
            // It left: the items after it moved up to its place.
            nextIndex -= static_cast<int>(std::count_if(
                sequence.begin(), sequence.begin() + nextIndex, [&](const WallpaperEntry& item) {
                    return std::find(items.begin(), items.end(), item) == items.end();
                }));
        }
    }
    sequence = std::move(items);
    NoteFavourites();
    if (nextIndex < 0 || nextIndex >= Count()) {
        nextIndex = 0;
    }
    upcomingStart = -1;
    rendering.DropPrepared();
    if (cancelled) {
        EndJob();
    } else if (!job) {
        PrepareNext();
    }
}

int SwitchingLoop::DrawPosition() {
    if (!Weighted() || favouritePositions.empty()) {
        return RandomIndex(random, Count());
    }
    // Each favourite has two slots more than the other items.
    const int slots = Count() + 2 * static_cast<int>(favouritePositions.size());
    const int drawn = RandomIndex(random, slots);
    return drawn < Count() ? drawn
                           : favouritePositions[static_cast<std::size_t>((drawn - Count()) / 2)];
}

void SwitchingLoop::RestoreMarks(PictureMarks hiddenPictures, PictureMarks favouritePictures) {
    hidden = std::move(hiddenPictures);
    favourites = std::move(favouritePictures);
}

std::vector<ShowPicture> SwitchingLoop::PicturesOnDesktop() const {
    if (!onDesktop.empty() || history.Current() < 0) {
        return onDesktop;
    }
    const HistoryEntry& entry = history.Entries()[static_cast<std::size_t>(history.Current())];
    std::vector<ShowPicture> pictures{{entry.path, entry.rotation, entry.page}};
    pictures.insert(pictures.end(), entry.otherMonitors.begin(), entry.otherMonitors.end());
    return pictures;
}

void SwitchingLoop::Hide(const ShowPicture& picture) {
    if (picture.path.empty()) {
        return;
    }
    if (hidden.Add({picture.path, picture.page})) {
        store.SaveHidden(hidden.ToText());
    }
    const std::vector<ShowPicture> shown = PicturesOnDesktop();
    const bool onDesktopNow = std::any_of(shown.begin(), shown.end(),
                                          [&](const ShowPicture& p) { return hidden.Contains(p); });
    Rederive();
    if (onDesktopNow) {
        if (sequence.empty() && built.empty()) {
            SetSequence(view.BuildSwitchingSequence());
            PrepareNextIndex(false);
        }
        // Even the last picture left replaces the hidden one.
        if (!sequence.empty() || history.HasLater()) {
            SwitchToNext();
        }
    }
}

void SwitchingLoop::ShowAgain(const std::vector<MarkedPicture>& pictures) {
    bool changed = false;
    for (const MarkedPicture& picture : pictures) {
        changed = hidden.Remove(picture) || changed;
    }
    if (changed) {
        store.SaveHidden(hidden.ToText());
        Rederive();
    }
}

void SwitchingLoop::ToggleFavourite(const ShowPicture& picture) {
    if (picture.path.empty()) {
        return;
    }
    const MarkedPicture marked{picture.path, picture.page};
    if (!favourites.Remove(marked)) {
        favourites.Add(marked);
    }
    store.SaveFavourites(favourites.ToText());
    Rederive();
}
