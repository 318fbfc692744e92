// Random order without repeats.
#include "switching/shuffle_deck.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <iterator>
#include <set>
#include <unordered_set>
#include <utility>

#include "base/text_lines.h"

namespace {

using CardKey = std::pair<std::string_view, int>;

// Pages are 16-bit, so the copy goes above them.
int NumberOf(const DeckCard& card) {
    return card.page + (card.copy << 16);
}

CardKey KeyOf(const DeckCard& card) {
    return {card.path, NumberOf(card)};
}

using CardKeys = std::unordered_set<CardKey, CardHash>;

CardKeys KeysOf(const std::vector<DeckCard>& cards) {
    CardKeys keys;
    keys.reserve(cards.size());
    for (const DeckCard& card : cards) {
        keys.insert(KeyOf(card));
    }
    return keys;
}

// The cards with each joining card inserted in turn at its place (counted among the cards there
// at that moment), in time proportional to n log n rather than n squared: the slots are given
// from the last insertion back, each taking the place-th slot still free.
std::vector<DeckCard> InsertAll(std::vector<DeckCard> cards,
                                const std::vector<const DeckCard*>& joining,
                                const std::vector<int>& places) {
    const std::size_t total = cards.size() + joining.size();
    // A Fenwick tree counting the free slots.
    std::vector<int> tree(total + 1, 0);
    for (std::size_t i = 1; i <= total; ++i) {
        tree[i] += 1;
        if (const std::size_t parent = i + (i & (~i + 1)); parent <= total) {
            tree[parent] += tree[i];
        }
    }
    std::size_t top = 1;
    while (top * 2 <= total) {
        top *= 2;
    }
    std::vector<const DeckCard*> slots(total, nullptr);
    for (std::size_t k = joining.size(); k-- > 0;) {
        // The slot with places[k] free slots before it.
        std::size_t at = 0;
        int before = places[k];
        for (std::size_t step = top; step > 0; step /= 2) {
            if (at + step <= total && tree[at + step] <= before) {
                at += step;
                before -= tree[at];
            }
        }
        slots[at] = joining[k];
        for (std::size_t i = at + 1; i <= total; i += i & (~i + 1)) {
            tree[i] -= 1;
        }
    }
    std::vector<DeckCard> result;
    result.reserve(total);
    auto next = cards.begin();
    for (const DeckCard* slot : slots) {
        result.push_back(slot != nullptr ? *slot : std::move(*next++));
    }
    return result;
}

// One card a line: "D" dealt or "R" to come in the deck's text, "S" dealt since in the journal
// after it; the page (and "+" and the copy for a further copy), a tab, the path.
void AddLine(std::string& text, char kind, const DeckCard& card) {
    text += kind;
    text += std::to_string(card.page);
    if (card.copy > 0) {
        text += '+';
        text += std::to_string(card.copy);
    }
    text += '\t';
    text += card.path;
    text += "\r\n";
}

constexpr std::string_view kHeader = "Velumar deck 1";

}  // namespace

void ShuffleDeck::Sync(const std::vector<DeckCard>& items) {
    // The same items as at the last deal: nothing joins or leaves.
    if (items == synced) {
        return;
    }
    synced = items;
    positions.clear();
    positions.reserve(synced.size());
    for (std::size_t i = 0; i < synced.size(); ++i) {
        positions.emplace(KeyOf(synced[i]), static_cast<int>(i));
    }
    // Without a deck nothing joins: a new deck is shuffled from the items next.
    if (Empty()) {
        return;
    }
    const auto gone = [&](const DeckCard& card) { return !positions.contains(KeyOf(card)); };
    const std::size_t before = dealt.size() + remaining.size();
    std::erase_if(dealt, gone);
    std::erase_if(remaining, gone);
    bool changed = dealt.size() + remaining.size() != before;
    CardKeys known = KeysOf(dealt);
    known.merge(KeysOf(remaining));
    // Each new card goes to a random place among the cards to come, as if inserted one by one.
    std::vector<const DeckCard*> joining;
    std::vector<int> places;
    for (const DeckCard& item : items) {
        if (known.insert(KeyOf(item)).second) {
            joining.push_back(&item);
            places.push_back(
                RandomIndex(random, static_cast<int>(remaining.size() + joining.size())));
        }
    }
    if (!joining.empty()) {
        remaining = InsertAll(std::move(remaining), joining, places);
        Spread(remaining, dealt.empty() ? nullptr : &dealt.back());
        changed = true;
    }
    if (changed) {
        MarkRewrite();
    }
}

void ShuffleDeck::Shuffle(const std::vector<DeckCard>& items) {
    // Each card once: an item listed twice is at its first position only.
    Sync(items);
    std::vector<DeckCard> deck;
    deck.reserve(synced.size());
    for (std::size_t i = 0; i < synced.size(); ++i) {
        if (positions.at(KeyOf(synced[i])) == static_cast<int>(i)) {
            deck.push_back(synced[i]);
        }
    }
    for (int i = static_cast<int>(deck.size()) - 1; i > 0; --i) {
        std::swap(deck[static_cast<std::size_t>(i)],
                  deck[static_cast<std::size_t>(RandomIndex(random, i + 1))]);
    }
    // The card the last deck ended with goes to one of the other places at random, which keeps
    // every allowed order equally likely.
    if (deck.size() >= 2 && !dealt.empty() && deck.front() == dealt.back()) {
        const int other = 1 + RandomIndex(random, static_cast<int>(deck.size()) - 1);
        std::swap(deck.front(), deck[static_cast<std::size_t>(other)]);
    }
    Spread(deck, dealt.empty() ? nullptr : &dealt.back());
    dealt.clear();
    remaining = std::move(deck);
    MarkRewrite();
}

void ShuffleDeck::Spread(std::vector<DeckCard>& cards, const DeckCard* dealtLast) {
    for (std::size_t i = 0; i < cards.size();) {
        const DeckCard* before = i > 0 ? &cards[i - 1] : dealtLast;
        if (before == nullptr || !cards[i].SamePicture(*before)) {
            ++i;
            continue;
        }
        // The first later card of another picture takes its place; the card moves there and is
        // looked at again when the walk reaches it.
        std::size_t other = i + 1;
        while (other < cards.size() && cards[other].SamePicture(cards[i])) {
            ++other;
        }
        if (other < cards.size()) {
            std::swap(cards[i], cards[other]);
            ++i;
        } else if (cards[i].copy > 0) {
            cards.erase(cards.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (i > 0 && cards[i - 1].copy > 0) {
            cards.erase(cards.begin() + static_cast<std::ptrdiff_t>(i - 1));
            --i;
        } else {
            // A picture's own card always stays (a list of one picture shows it every time).
            ++i;
        }
    }
}

void ShuffleDeck::MarkRewrite() {
    rewrite = true;
    journal.clear();
}

int ShuffleDeck::PositionIn(const DeckCard& card) const {
    const auto found = positions.find(KeyOf(card));
    return found == positions.end() ? -1 : found->second;
}

int ShuffleDeck::Next(const std::vector<DeckCard>& items) {
    const std::vector<int> next = Upcoming(items, 1);
    return next.empty() ? -1 : next.front();
}

std::vector<int> ShuffleDeck::Upcoming(const std::vector<DeckCard>& items, int count) {
    std::vector<int> upcoming;
    if (items.empty()) {
        return upcoming;
    }
    Sync(items);
    if (remaining.empty()) {
        Shuffle(items);
    }
    const std::size_t n = std::min(remaining.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        upcoming.push_back(PositionIn(remaining[i]));
    }
    return upcoming;
}

void ShuffleDeck::Shown(const std::vector<DeckCard>& items, int position) {
    if (position < 0 || position >= static_cast<int>(items.size())) {
        return;
    }
    Sync(items);
    const DeckCard& card = items[static_cast<std::size_t>(position)];
    // The picture's first card to come, whichever copy it is.
    const auto findCard = [&] {
        return std::find_if(remaining.begin(), remaining.end(),
                            [&](const DeckCard& c) { return c.SamePicture(card); });
    };
    auto found = findCard();
    if (found == remaining.end()) {
        // Dealt already in this deck: it counts for the next one, once this one is used up.
        if (!remaining.empty()) {
            return;
        }
        Shuffle(items);
        found = findCard();
        if (found == remaining.end()) {
            return;
        }
    }
    dealt.push_back(std::move(*found));
    remaining.erase(found);
    if (!rewrite) {
        AddLine(journal, 'S', dealt.back());
    }
}

int ShuffleDeck::Deal(const std::vector<DeckCard>& items) {
    const int next = Next(items);
    Shown(items, next);
    return next;
}

void ShuffleDeck::StartWith(const std::vector<DeckCard>& items, int position) {
    if (items.empty()) {
        return;
    }
    dealt.clear();
    remaining.clear();
    Shuffle(items);
    if (position < 0 || position >= static_cast<int>(items.size())) {
        return;
    }
    const auto found =
        std::find(remaining.begin(), remaining.end(), items[static_cast<std::size_t>(position)]);
    if (found != remaining.end()) {
        std::rotate(remaining.begin(), found, found + 1);
        // The cards behind it keep apart from it and from each other.
        std::vector<DeckCard> rest(std::make_move_iterator(remaining.begin() + 1),
                                   std::make_move_iterator(remaining.end()));
        Spread(rest, &remaining.front());
        remaining.resize(1);
        std::move(rest.begin(), rest.end(), std::back_inserter(remaining));
    }
}

std::string ShuffleDeck::Save() const {
    std::string text(kHeader);
    text += "\r\n";
    for (const DeckCard& card : dealt) {
        AddLine(text, 'D', card);
    }
    for (const DeckCard& card : remaining) {
        AddLine(text, 'R', card);
    }
    return text;
}

void ShuffleDeck::Load(std::string_view text) {
    dealt.clear();
    remaining.clear();
    synced.clear();
    positions.clear();
    rewrite = false;
    journal.clear();
    std::vector<DeckCard> readDealt;
    std::vector<DeckCard> readRemaining;
    std::vector<DeckCard> journaled;
    std::set<std::pair<std::string, int>> seen;
    std::set<std::pair<std::string, int>> shown;
    bool header = true;
    while (!text.empty()) {
        std::string_view line = TakeLine(text);
        if (std::exchange(header, false)) {
            if (line != kHeader) {
                return;
            }
            continue;
        }
        const std::size_t tab = line.find('\t');
        const bool journalLine = !line.empty() && line[0] == 'S';
        DeckCard card;
        bool valid = line.size() >= 2 && (line[0] == 'D' || line[0] == 'R' || journalLine) &&
                     tab != std::string_view::npos && tab + 1 < line.size();
        if (valid) {
            card.path = std::string(line.substr(tab + 1));
            const char* first = line.data() + 1;
            const char* last = line.data() + tab;
            std::from_chars_result read = std::from_chars(first, last, card.page);
            valid = first != read.ptr && read.ec == std::errc() && card.page >= 0 &&
                    card.page <= 0xFFFF;
            if (valid && read.ptr != last && *read.ptr == '+') {
                const char* copy = read.ptr + 1;
                read = std::from_chars(copy, last, card.copy);
                valid =
                    copy != read.ptr && read.ec == std::errc() && card.copy > 0 && card.copy < 256;
            }
            valid = valid && read.ptr == last;
        }
        if (!journaled.empty() || journalLine) {
            // A journal line cut short by a crash ends the journal; the deck stands.
            if (!valid || !journalLine) {
                break;
            }
            if (shown.emplace(card.path, NumberOf(card)).second) {
                journaled.push_back(std::move(card));
            }
            continue;
        }
        if (!valid || !seen.emplace(card.path, NumberOf(card)).second) {
            return;
        }
        if (line[0] == 'D') {
            if (!readRemaining.empty()) {
                return;
            }
            readDealt.push_back(std::move(card));
        } else {
            readRemaining.push_back(std::move(card));
        }
    }
    if (header) {
        return;
    }
    // The journal's cards were dealt after the text was written.
    std::erase_if(readRemaining, [&](const DeckCard& card) {
        return shown.contains({card.path, NumberOf(card)});
    });
    for (DeckCard& card : journaled) {
        if (!std::ranges::any_of(readDealt, [&](const DeckCard& d) { return d == card; })) {
            readDealt.push_back(std::move(card));
        }
    }
    dealt = std::move(readDealt);
    remaining = std::move(readRemaining);
}
