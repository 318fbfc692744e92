// The deck of the random order without repeats: each card once per deck, no repeat across the
// boundary, cards joining and leaving mid-deck, and the deck kept as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "switching/shuffle_deck.h"

namespace {

std::vector<DeckCard> Cards(std::initializer_list<const char*> paths) {
    std::vector<DeckCard> cards;
    for (const char* path : paths) {
        cards.push_back({path, 0});
    }
    return cards;
}

std::vector<DeckCard> Cards(int n) {
    std::vector<DeckCard> cards;
    for (int i = 0; i < n; ++i) {
        cards.push_back({"C:\\p\\" + std::to_string(i) + ".bmp", i % 2});
    }
    return cards;
}

TEST(ShuffleDeck, EveryCardOncePerDeckAndNoRepeatAcrossTheBoundary) {
    for (int n : {1, 2, 3, 5, 8}) {
        for (std::uint32_t seed : {1u, 7u, 12345u}) {
            SeededRandom random(seed);
            ShuffleDeck deck(random);
            const std::vector<DeckCard> items = Cards(n);
            std::vector<int> dealt;
            std::set<std::vector<int>> orders;
            for (int i = 0; i < 6 * n; ++i) {
                dealt.push_back(deck.Deal(items));
                EXPECT_EQ(deck.Current(items), dealt.back());
            }
            for (int d = 0; d < 6; ++d) {
                std::vector<int> one(dealt.begin() + d * n, dealt.begin() + (d + 1) * n);
                orders.insert(one);
                std::sort(one.begin(), one.end());
                for (int i = 0; i < n; ++i) {
                    EXPECT_EQ(one[static_cast<std::size_t>(i)], i) << n << " " << seed;
                }
            }
            if (n >= 2) {
                EXPECT_EQ(std::adjacent_find(dealt.begin(), dealt.end()), dealt.end())
                    << n << " " << seed;
            }
            // The decks are shuffled, not dealt in one order (two items can only alternate).
            if (n >= 3) {
                EXPECT_GT(orders.size(), 1u) << n << " " << seed;
            }
        }
    }
}

TEST(ShuffleDeck, CardsAddedMidDeckComeInItAndRemovedOnesLeaveIt) {
    SeededRandom random(3);
    ShuffleDeck deck(random);
    std::vector<DeckCard> items = Cards({"a", "b", "c", "d", "e"});
    std::vector<std::string> shown;
    for (int i = 0; i < 2; ++i) {
        shown.push_back(items[static_cast<std::size_t>(deck.Deal(items))].path);
    }
    // One dealt and one waiting card go; two new ones come; a page of "a" is a card of its own.
    const std::string dealtGone = shown[0];
    const std::string waitingGone = deck.Remaining().front().path;
    std::erase_if(items, [&](const DeckCard& card) {
        return card.path == dealtGone || card.path == waitingGone;
    });
    items.push_back({"f", 0});
    items.push_back({"a", 2});
    do {
        shown.push_back(items[static_cast<std::size_t>(deck.Deal(items))].path);
    } while (!deck.Remaining().empty());
    std::set<std::pair<std::string, int>> thisDeck;
    for (const DeckCard& card : deck.Dealt()) {
        EXPECT_TRUE(thisDeck.emplace(card.path, card.page).second) << card.path;
    }
    std::set<std::pair<std::string, int>> expected;
    for (const DeckCard& card : items) {
        expected.emplace(card.path, card.page);
    }
    EXPECT_EQ(thisDeck, expected);
    EXPECT_EQ(std::count(shown.begin() + 2, shown.end(), waitingGone), 0);
    // The next deck holds the cards there are now.
    for (std::size_t i = 0; i < items.size(); ++i) {
        shown.push_back(items[static_cast<std::size_t>(deck.Deal(items))].path);
    }
    EXPECT_EQ(deck.Dealt().size(), items.size());
    EXPECT_EQ(deck.Current({}), -1);
    EXPECT_EQ(deck.Deal({}), -1);
}

TEST(ShuffleDeck, TheDeckSurvivesSavingAndLoadingAndABadTextIsANewDeck) {
    SeededRandom random(9);
    ShuffleDeck deck(random);
    const std::vector<DeckCard> items = {
        {"C:\\a b\\ü.jpg", 0}, {"C:\\x.tif", 3}, {"C:\\x.tif", 4}, {"C:\\y.png", 0}};
    deck.Deal(items);
    deck.Deal(items);
    SeededRandom otherRandom(1);
    ShuffleDeck reloaded(otherRandom);
    reloaded.Load(deck.Save());
    EXPECT_EQ(reloaded.Dealt(), deck.Dealt());
    EXPECT_EQ(reloaded.Remaining(), deck.Remaining());
    EXPECT_EQ(reloaded.Current(items), deck.Current(items));
    EXPECT_EQ(reloaded.Save(), deck.Save());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(reloaded.Deal(items), deck.Deal(items));
    }

    const std::string good = deck.Save();
    const std::string bad[] = {
        "",
        "Velumar deck 2\r\nD0\tC:\\a\r\n",
        "Velumar deck 1\r\nX0\tC:\\a\r\n",
        "Velumar deck 1\r\nD0C:\\a\r\n",
        "Velumar deck 1\r\nD\tC:\\a\r\n",
        "Velumar deck 1\r\nD-1\tC:\\a\r\n",
        "Velumar deck 1\r\nD1x\tC:\\a\r\n",
        "Velumar deck 1\r\nD0\t\r\n",
        "Velumar deck 1\r\nR0\tC:\\a\r\nD0\tC:\\b\r\n",
        "Velumar deck 1\r\nD0\tC:\\a\r\nR0\tC:\\a\r\n",
        good.substr(0, good.size() / 2) + "\xff\n",
    };
    for (const std::string& text : bad) {
        reloaded.Load(good);
        reloaded.Load(text);
        EXPECT_TRUE(reloaded.Dealt().empty() && reloaded.Remaining().empty()) << text;
    }
}

}  // namespace
