// The frame pacer's grid, fed with times of the test's own choosing.
#include <gtest/gtest.h>

#include "Pacer.h"
#include "Vuderiv.h"

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;
using Vuderiv::detail::Pacer;

namespace {

const Pacer::Clock::time_point kStart = Pacer::Clock::time_point() + seconds(1000);

}  // namespace

// A caller always on time: frame n falls at n / hz seconds exactly, however long the run.
TEST(Pacer, FramesLieOnAGridThatDoesNotDrift) {
    Pacer pacer;
    EXPECT_EQ(pacer.Next(kStart, 60), kStart);  // the first frame is due at once
    Pacer::Clock::time_point due = kStart;
    for (int frame = 1; frame <= 6000; ++frame) {
        due = pacer.Next(due, 60);
        if (frame % 60 == 0) {
            ASSERT_EQ(due, kStart + seconds(frame / 60)) << frame;
        }
    }
    EXPECT_EQ(pacer.Next(due, 60), kStart + seconds(100) + nanoseconds(16666666));
}

// Late by less than a frame, the grid holds; by more, a new grid starts rather than a
// burst of frames to catch up. A new rate starts a new grid too.
TEST(Pacer, LateCallersAndNewRates) {
    Pacer pacer;
    pacer.Next(kStart, 50);
    EXPECT_EQ(pacer.Next(kStart + milliseconds(35), 50), kStart + milliseconds(20));
    EXPECT_EQ(pacer.Next(kStart + milliseconds(59), 50), kStart + milliseconds(40));
    const auto late = kStart + milliseconds(101);  // frame 3 due at 60, frame 4 at 80
    EXPECT_EQ(pacer.Next(late, 50), late);
    EXPECT_EQ(pacer.Next(late, 50), late + milliseconds(20));
    EXPECT_EQ(pacer.Next(late + milliseconds(20), 10), late + milliseconds(20));
    EXPECT_EQ(pacer.Next(late + milliseconds(20), 10), late + milliseconds(120));
}

// Without a frame before, there is no time since one.
TEST(Pacer, NoTimeBeforeTheFirstFrame) {
    EXPECT_EQ(Vuderiv::SecondsSinceFrame(), 0.0);
    EXPECT_EQ(Vuderiv::WaitFrame(0), 0.0);
}
