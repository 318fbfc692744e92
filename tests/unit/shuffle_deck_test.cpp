// The deck of the random order without repeats: each card once per deck, no repeat across the
// boundary, cards joining and leaving mid-deck, and the deck kept as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "switching/shuffle_deck.h"

namespace {

std::vector<DeckCard> Cards(int n) {
    std::vector<DeckCard> cards;
    for (int i = 0; i < n; ++i) {
        cards.push_back({"C:\\p\\" + std::to_string(i / 2) + ".tif", i % 2});
    }
    return cards;
}

TEST(ShuffleDeck, EveryCardOncePerDeckAndNoRepeatAcrossTheBoundary) {
    for (int n : {1, 2, 3, 5, 8}) {
        for (std::uint32_t seed : {1u, 7u, 12345u}) {
            SeededRandom random(seed);
            ShuffleDeck deck(random);
            std::vector<int> dealt;
            std::set<std::vector<int>> orders;
            for (int i = 0; i < 6 * n; ++i) {
                dealt.push_back(deck.Deal(Cards(n)));
            }
            for (auto from = dealt.begin(); from != dealt.end(); from += n) {
                std::vector<int> one(from, from + n);
                orders.insert(one);
                std::sort(one.begin(), one.end());
                EXPECT_TRUE(one.front() == 0 && one.back() == n - 1 &&
                            std::adjacent_find(one.begin(), one.end()) == one.end())
                    << n << " " << seed;
            }
            EXPECT_TRUE(n < 2 || std::adjacent_find(dealt.begin(), dealt.end()) == dealt.end());
            // Shuffled anew each time (two cards can only alternate).
            EXPECT_TRUE(n < 3 || orders.size() > 1) << n << " " << seed;
        }
    }
}

// Draws from a list, then zeros.
class ScriptedRandom final : public RandomSource {
public:
    int Next() override {
        const int next = draws.empty() ? 0 : draws.front();
        if (!draws.empty()) {
            draws.erase(draws.begin());
        }
        return next;
    }
    std::vector<int> draws;
};

TEST(ShuffleDeck, ACardJoiningMidDeckTakesThePlaceDrawnAmongTheRestTheLastIncluded) {
    for (int place : {0, 1, 2}) {
        ScriptedRandom random;
        ShuffleDeck deck(random);
        std::vector<DeckCard> items = Cards(3);
        deck.Deal(items);
        items.push_back({"C:\\new.png", 0});
        random.draws = {0, place};  // one index from two draws
        for (int i = 0; i < 3; ++i) {
            deck.Deal(items);
        }
        ASSERT_EQ(deck.Dealt().size(), 4u);
        EXPECT_EQ(deck.Dealt()[static_cast<std::size_t>(place) + 1].path, "C:\\new.png") << place;
    }
}

TEST(ShuffleDeck, CardsJoinAndLeaveMidDeckAndTheDeckSurvivesSavingAndLoading) {
    SeededRandom random(3);
    ShuffleDeck deck(random);
    std::vector<DeckCard> items = Cards(5);
    deck.Deal(items);
    deck.Deal(items);
    // A dealt and a waiting card go, two new ones come.
    std::erase(items, deck.Dealt().front());
    std::erase(items, deck.Remaining().front());
    items.push_back({"C:\\new.png", 0});
    items.push_back({"C:\\p\\0.tif", 7});
    // Loaded from its text (with the same draws to come), a deck deals the same.
    SeededRandom sameRandom = random;
    ShuffleDeck reloaded(sameRandom);
    reloaded.Load(deck.Save());
    EXPECT_EQ(reloaded.Save(), deck.Save());
    std::vector<DeckCard> thisDeck(deck.Dealt().begin() + 1, deck.Dealt().end());
    while (!deck.Remaining().empty()) {
        const int next = deck.Deal(items);
        EXPECT_EQ(reloaded.Deal(items), next);
        thisDeck.push_back(items[static_cast<std::size_t>(next)]);
    }
    EXPECT_TRUE(std::is_permutation(thisDeck.begin(), thisDeck.end(), items.begin(), items.end()));
    EXPECT_EQ(deck.Deal({}), -1);

    const std::string good = deck.Save();
    const std::string header = "Velumar deck 1\r\n";
    const std::string bad[] = {
        "",
        "Velumar deck 2\r\nD0\tC:\\a\r\n",
        header + "X0\tC:\\a",
        header + "D0C:\\a",
        header + "D\tC:\\a",
        header + "D-1\tC:\\a",
        header + "D1x\tC:\\a",
        header + "D0\t",
        header + "R0\tC:\\a\nD0\tC:\\b",
        header + "D0\tC:\\a\nR0\tC:\\a",
        header + "D0+0\tC:\\a",
        header + "D0+\tC:\\a",
        header + "D0+1x\tC:\\a",
    };
    for (const std::string& text : bad) {
        reloaded.Load(good);
        reloaded.Load(text);
        EXPECT_TRUE(reloaded.Dealt().empty() && reloaded.Remaining().empty()) << text;
    }
}

TEST(ShuffleDeck, AFavouritesCopiesComeInEachDeckNeverTwoInARowAndReadBack) {
    // Picture 0 has two further copies; with few other pictures a copy is sometimes left out.
    for (const int others : {1, 2, 5}) {
        SeededRandom random(static_cast<std::uint32_t>(others));
        ShuffleDeck deck(random);
        std::vector<DeckCard> items{{"C:\\fav.jpg", 0}};
        for (int i = 0; i < others; ++i) {
            items.push_back({"C:\\" + std::to_string(i) + ".jpg", 0});
        }
        items.push_back({"C:\\fav.jpg", 0, 1});
        items.push_back({"C:\\fav.jpg", 0, 2});
        const DeckCard* last = nullptr;
        int favourites = 0;
        const int deals = 300;
        for (int i = 0; i < deals; ++i) {
            if (i == deals / 2) {
                ShuffleDeck reloaded(random);
                reloaded.Load(deck.Save());
                ASSERT_EQ(reloaded.Save(), deck.Save());
            }
            const DeckCard& card = items[static_cast<std::size_t>(deck.Deal(items))];
            ASSERT_TRUE(last == nullptr || !card.SamePicture(*last)) << others << " at " << i;
            favourites += card.path == "C:\\fav.jpg";
            last = &card;
        }
        // Never twice in a row allows at most every other card (a copy left out then); with
        // five others, three a deck of eight.
        const int least = others == 1 ? deals / 2 - 1 : others == 2 ? deals * 2 / 5 : deals / 3;
        EXPECT_GE(favourites, least) << others;
        EXPECT_LE(favourites, others == 5 ? deals * 3 / 8 + 3 : deals / 2 + 1) << others;
    }
}

TEST(ShuffleDeck, LookingDealsNothingAndEachShownCardAddsOneJournalLineThatReadsBack) {
    SeededRandom random(5);
    ShuffleDeck deck(random);
    const std::vector<DeckCard> items = Cards(6);
    std::string file;
    const auto store = [&] {
        if (deck.TakeRewrite()) {
            deck.TakeJournal();
            file = deck.Save();
        } else {
            file += deck.TakeJournal();
        }
    };
    deck.StartWith(items, 4);
    EXPECT_EQ(deck.Next(items), 4);
    store();
    const std::string whole = file;
    // Looking ahead, however often, deals nothing.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(deck.Upcoming(items, 3).size(), 3u);
        EXPECT_EQ(deck.Next(items), 4);
    }
    deck.Shown(items, 4);
    deck.Shown(items, deck.Next(items));
    store();
    EXPECT_EQ(file.size(), whole.size() + 2 * (std::string("S0\tC:\\p\\0.tif\r\n").size()));
    SeededRandom sameRandom = random;
    ShuffleDeck reloaded(sameRandom);
    reloaded.Load(file);
    EXPECT_EQ(reloaded.Save(), deck.Save());
    // A journal line cut short by a crash ends the journal; the deck stands.
    reloaded.Load(file + "S1\t");
    EXPECT_EQ(reloaded.Dealt().size(), 2u);
    reloaded.Load(file + "S");
    EXPECT_EQ(reloaded.Dealt().size(), 2u);
}

}  // namespace
