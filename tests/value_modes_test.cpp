// The shared value rule and the random idioms, over the host's random
// source with queued draws.
#include "fixture.h"
#include "suites.h"
#include "value_modes.h"

namespace smear {
namespace {

class ValueModesTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        sAIRandom = static_cast<const AIRandomSuite *>(host.suites.find(kAIRandomSuite, kAIRandomSuiteVersion));
    }
    void TearDown() override {
        sAIRandom = nullptr;
        PluginTest::TearDown();
    }
    // ValueMode with v 0.5, w 0.5, p 0.5 (q = 0.125), c 0.25, M 10, T 20,
    // and the number of draws it made.
    AIReal rule(ASInt32 mode, long &draws) {
        long before = host.random.draws();
        AIReal n = ValueMode(mode, 0.5f, 0.5f, 0.5f, 0.25f, 10.0f, 20.0f);
        draws = host.random.draws() - before;
        return n;
    }
};

TEST_F(ValueModesTest, EachModeWithItsDrawsInOrder) {
    long draws = 0;
    EXPECT_EQ(rule(kValueModeAdd, draws), 0.375f);
    EXPECT_EQ(draws, 0);
    host.random.queue(0.5f);
    EXPECT_EQ(rule(kValueModeRandomFromZero, draws), 0.0625f);
    EXPECT_EQ(draws, 1);
    EXPECT_EQ(rule(kValueModeSet, draws), 0.125f);
    EXPECT_EQ(draws, 0);
    host.random.queue(0.5f);
    EXPECT_EQ(rule(kValueModeRandomToMaximum, draws), 10.0f - 0.0625f);
    EXPECT_EQ(draws, 1);
    host.random.queue(0.75f);  // r x w x p x T, the value ignored
    EXPECT_EQ(rule(kValueModeTotalRandom, draws), 3.75f);
    EXPECT_EQ(draws, 1);
    host.random.queue(0.75f);  // sign first: negative
    host.random.queue(0.5f);
    EXPECT_EQ(rule(kValueModeJitter, draws), 0.25f - 0.0625f);
    EXPECT_EQ(draws, 2);
    host.random.queue(0.5f);  // exactly 0.5 is a positive sign
    host.random.queue(1.0f);
    EXPECT_EQ(rule(kValueModeJitter, draws), 0.375f);
    EXPECT_EQ(rule(kValueModeIgnore, draws), 0.25f);
    EXPECT_EQ(rule(kValueModeMultiply, draws), 0.25f * 0.125f);  // c x q
    EXPECT_EQ(rule(8, draws), 0.25f);  // no such entry: unchanged
    EXPECT_EQ(draws, 0);
}

TEST_F(ValueModesTest, OnlyAddJitterIgnoreAndMultiplyReadTheCurrentValue) {
    const bool reads[8] = {true, false, false, false, false, true, true, true};
    for (int mode = 0; mode < 8; ++mode) EXPECT_EQ(bool(ValueModeReadsCurrent(mode)), reads[mode]) << mode;
}

TEST_F(ValueModesTest, SignSkipAndAmountSplitAtOneHalf) {
    for (AIReal r : {0.5f, 0.50000006f, 0.0f, 0.99f}) host.random.queue(r);
    EXPECT_EQ(RandomSign(), 1.0f);
    EXPECT_EQ(RandomSign(), -1.0f);
    EXPECT_FALSE(RandomSkip());
    EXPECT_TRUE(RandomSkip());
    host.random.queue(0.9f);   // sign
    host.random.queue(0.25f);  // magnitude
    EXPECT_EQ(RandomAmount(8.0f), -2.0f);
}

}  // namespace
}  // namespace smear
