// The SDL backend on SDL's offscreen video driver (asked for by name, as the
// backend requires): the drawing thread's quit survives a full event queue.
#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zirvo {
namespace {

class SdlPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    std::string error;
    if (!platform.Open(error))
      GTEST_SKIP() << "SDL's offscreen driver is not available: " << error;
  }

  // The events of types from SDL_USEREVENT on (the backend's own) in the queue.
  static int UserEventsQueued() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT);
  }

  SdlPlatform platform;
};

TEST_F(SdlPlatformTest, TheDrawingThreadsQuitIsPostedAgainAfterAFullQueue) {
  SDL_Event filler;
  SDL_zero(filler);
  filler.type = SDL_USEREVENT;
  int pushed = 0;
  while (SDL_PushEvent(&filler) == 1)
    ++pushed;
  ASSERT_GT(pushed, 0);

  platform.PostQuitFromDrawingThread();  // refused: the queue is full
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  ASSERT_EQ(UserEventsQueued(), 0);

  platform.PostQuitFromDrawingThread();  // the next pass
  EXPECT_EQ(UserEventsQueued(), 1);
  platform.PostQuitFromDrawingThread();  // once in the queue, it is not posted again
  EXPECT_EQ(UserEventsQueued(), 1);
  // The message loop ends on it.
  EXPECT_EQ(platform.RunMessageLoop(), 0);
}

}  // namespace
}  // namespace zirvo
