// Random order without repeats: the items are dealt like a shuffled deck, each once before any
// comes again, and a new deck never starts with the item the previous one ended with. A card
// counts as dealt only when its picture was shown (or passed over as unreadable): looking at
// the cards to come deals nothing. The deck is kept as a text written whole when a deck starts
// or the items change, and a journal line appended for every card dealt in between, so a deal
// costs the same whatever the list's length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "switching/random_source.h"

// An item of the deck: a file and one of its pages. A picture that comes more often than the
// others (a favourite) has further cards, copies 1 and up; a deck never deals two cards of the
// same picture in a row, and leaves a copy out rather than break that.
struct DeckCard {
    std::string path;
    int page = 0;
    int copy = 0;

    bool SamePicture(const DeckCard& other) const {
        return page == other.page && path == other.path;
    }

    bool operator==(const DeckCard&) const = default;
};

struct CardHash {
    std::size_t operator()(const std::pair<std::string_view, int>& key) const {
        return std::hash<std::string_view>()(key.first) ^ static_cast<std::size_t>(key.second);
    }
};

class ShuffleDeck {
public:
    explicit ShuffleDeck(RandomSource& random) : random(random) {}

    // The position in items of the card that comes next, dealing nothing; a new deck is
    // shuffled when the current one is used up. Cards no longer among the items leave the deck
    // first; new ones join the rest of the deck at random places. -1 when items is empty.
    int Next(const std::vector<DeckCard>& items);
    // The positions in items of up to count cards to come, the next one first.
    std::vector<int> Upcoming(const std::vector<DeckCard>& items, int count);
    // The card at that position of items was shown: its picture's first card to come (of
    // whichever copy) is dealt. A picture with no card left in this deck is
    // dealt again only from the next deck, which starts when this one is used up.
    void Shown(const std::vector<DeckCard>& items, int position);
    // Next, then Shown: the card dealt.
    int Deal(const std::vector<DeckCard>& items);
    // Whether there is no deck yet (none stored, or a stored one that did not read).
    bool Empty() const { return dealt.empty() && remaining.empty(); }
    // Starts a new deck with the item at that position first (a picture already waiting to be
    // shown when the deck begins), the others shuffled behind it.
    void StartWith(const std::vector<DeckCard>& items, int position);

    // The deck as text, one card a line; Load of that text gives the same deck. A text that
    // does not read whole leaves an empty deck (a new one is shuffled at the next deal). The
    // text may be followed by journal lines (JournalText).
    std::string Save() const;
    void Load(std::string_view text);
    // What changed since the last call: true when the deck must be written whole (Save), else
    // the journal lines to append to the text written last (empty when nothing changed).
    bool TakeRewrite() { return std::exchange(rewrite, false); }
    std::string TakeJournal() { return std::exchange(journal, std::string()); }

    const std::vector<DeckCard>& Dealt() const { return dealt; }
    const std::vector<DeckCard>& Remaining() const { return remaining; }

private:
    void Sync(const std::vector<DeckCard>& items);
    void Shuffle(const std::vector<DeckCard>& items);
    // Moves cards later so that no two cards of one picture follow each other (nor the first
    // after the card dealt last); a copy that finds no place is left out.
    static void Spread(std::vector<DeckCard>& cards, const DeckCard* dealtLast);
    // The deck must be written whole; the journal is of no use then.
    void MarkRewrite();
    // The position of a card in the items last synced; -1 when it is not there.
    int PositionIn(const DeckCard& card) const;

    RandomSource& random;
    // The cards dealt from the current deck, in order; the last is the one dealt last.
    std::vector<DeckCard> dealt;
    // The cards still to come, in the order they come.
    std::vector<DeckCard> remaining;
    // The items the deck was last brought in line with.
    std::vector<DeckCard> synced;
    // Each synced card's position, keyed by views into synced.
    std::unordered_map<std::pair<std::string_view, int>, int, CardHash> positions;
    // Changes not yet taken by the store.
    bool rewrite = false;
    std::string journal;
};
