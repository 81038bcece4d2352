#include "support/randomedits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// The fuzz target's driver on fixed seeds: typing, keys, selections, the
// clipboard, drags, input methods, whole-text commands and undo, checked
// against a plain-string model after every step and the journal replayed.
TEST(RandomEdits, FixedSeedsAgreeWithTheModelAndTheJournal)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        std::vector<uint8_t> bytes(2500);
        for (uint8_t& byte : bytes)
            byte = uint8_t(random());
        const QString failure = randomedits::run(bytes.data(), bytes.size(), 300);
        EXPECT_TRUE(failure.isEmpty()) << "seed " << seed << ": " << failure.toStdString();
    }
}
