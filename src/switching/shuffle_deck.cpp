// Random order without repeats.
#include "switching/shuffle_deck.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <set>
#include <unordered_set>
#include <utility>

namespace {

using CardKey = std::pair<std::string_view, int>;

CardKey KeyOf(const DeckCard& card) {
    return {card.path, card.page};
}

struct CardKeyHash {
    std::size_t operator()(const CardKey& key) const {
        return std::hash<std::string_view>()(key.first) ^ static_cast<std::size_t>(key.second);
    }
};

using CardKeys = std::unordered_set<CardKey, CardKeyHash>;

CardKeys KeysOf(const std::vector<DeckCard>& cards) {
    CardKeys keys;
    keys.reserve(cards.size());
    for (const DeckCard& card : cards) {
        keys.insert(KeyOf(card));
    }
    return keys;
}

int PositionOf(const std::vector<DeckCard>& items, const DeckCard& card) {
    const auto found = std::find(items.begin(), items.end(), card);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

constexpr std::string_view kHeader = "Velumar deck 1";

}  // namespace

void ShuffleDeck::Sync(const std::vector<DeckCard>& items) {
    // The same items as at the last deal: nothing joins or leaves.
    if (items == synced) {
        return;
    }
    synced = items;
    const CardKeys present = KeysOf(items);
    const auto gone = [&](const DeckCard& card) { return !present.contains(KeyOf(card)); };
    std::erase_if(dealt, gone);
    std::erase_if(remaining, gone);
    CardKeys known = KeysOf(dealt);
    known.merge(KeysOf(remaining));
    for (const DeckCard& item : items) {
        if (known.insert(KeyOf(item)).second) {
            const int at = RandomIndex(random, static_cast<int>(remaining.size()) + 1);
            remaining.insert(remaining.begin() + at, item);
        }
    }
}

void ShuffleDeck::Shuffle(const std::vector<DeckCard>& items) {
    std::vector<DeckCard> deck;
    CardKeys seen;
    for (const DeckCard& item : items) {
        if (seen.insert(KeyOf(item)).second) {
            deck.push_back(item);
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
    dealt.clear();
    remaining = std::move(deck);
}

int ShuffleDeck::Deal(const std::vector<DeckCard>& items) {
    if (items.empty()) {
        return -1;
    }
    Sync(items);
    if (remaining.empty()) {
        Shuffle(items);
    }
    dealt.push_back(remaining.front());
    remaining.erase(remaining.begin());
    return PositionOf(items, dealt.back());
}

int ShuffleDeck::Current(const std::vector<DeckCard>& items) const {
    return dealt.empty() ? -1 : PositionOf(items, dealt.back());
}

// One card a line: "D" dealt or "R" to come, the page, a tab, the path.
std::string ShuffleDeck::Save() const {
    std::string text(kHeader);
    text += "\r\n";
    const auto add = [&](char kind, const DeckCard& card) {
        text += kind;
        text += std::to_string(card.page);
        text += '\t';
        text += card.path;
        text += "\r\n";
    };
    for (const DeckCard& card : dealt) {
        add('D', card);
    }
    for (const DeckCard& card : remaining) {
        add('R', card);
    }
    return text;
}

void ShuffleDeck::Load(std::string_view text) {
    dealt.clear();
    remaining.clear();
    synced.clear();
    std::vector<DeckCard> readDealt;
    std::vector<DeckCard> readRemaining;
    std::set<std::pair<std::string, int>> seen;
    bool header = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (std::exchange(header, false)) {
            if (line != kHeader) {
                return;
            }
            continue;
        }
        const std::size_t tab = line.find('\t');
        if (line.size() < 2 || (line[0] != 'D' && line[0] != 'R') ||
            tab == std::string_view::npos || tab + 1 == line.size()) {
            return;
        }
        DeckCard card{std::string(line.substr(tab + 1)), 0};
        const char* first = line.data() + 1;
        const char* last = line.data() + tab;
        const auto [rest, error] = std::from_chars(first, last, card.page);
        if (first == last || error != std::errc() || rest != last || card.page < 0) {
            return;
        }
        if (!seen.emplace(card.path, card.page).second) {
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
    dealt = std::move(readDealt);
    remaining = std::move(readRemaining);
}
