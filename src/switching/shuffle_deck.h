// Random order without repeats: the items are dealt like a shuffled deck, each once before any
// comes again, and a new deck never starts with the item the previous one ended with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "switching/random_source.h"

// An item of the deck: a file and one of its pages.
struct DeckCard {
    std::string path;
    int page = 0;

    bool operator==(const DeckCard&) const = default;
};

class ShuffleDeck {
public:
    explicit ShuffleDeck(RandomSource& random) : random(random) {}

    // Deals the next card of the deck and returns its position in items; a new deck is
    // shuffled when the current one is used up. Cards no longer among the items leave the deck
    // first; new ones join the rest of the deck at random places. -1 when items is empty.
    int Deal(const std::vector<DeckCard>& items);
    // The position in items of the card dealt last, or -1 when there is none or it is gone.
    int Current(const std::vector<DeckCard>& items) const;

    // The deck as text, one card a line; Load of that text gives the same deck. A text that
    // does not read whole leaves an empty deck (a new one is shuffled at the next deal).
    std::string Save() const;
    void Load(std::string_view text);

    const std::vector<DeckCard>& Dealt() const { return dealt; }
    const std::vector<DeckCard>& Remaining() const { return remaining; }

private:
    void Sync(const std::vector<DeckCard>& items);
    void Shuffle(const std::vector<DeckCard>& items);

    RandomSource& random;
    // The cards dealt from the current deck, in order; the last is the one dealt last.
    std::vector<DeckCard> dealt;
    // The cards still to come, in the order they come.
    std::vector<DeckCard> remaining;
    // The items the deck was last brought in line with.
    std::vector<DeckCard> synced;
};
