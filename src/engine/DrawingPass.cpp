#include "engine/DrawingPass.h"

namespace zirvo {

int DrawingPass(Engine& engine, PixelSink& pixels, Delayer& delay) {
  if (engine.SpawnAll() != 0) {
    ScreenPoint point;
    engine.ActiveCursor = engine.ActiveHead;
    while (engine.ActiveCursor >= 0) {
      // The swirl under the cursor keeps its turn while EraseTurn is set; TickAt
      // moves the cursor on when the turn ends or the swirl is released.
      do {
        if (engine.TickAt(engine.ActiveCursor, point) != 0) {
          pixels.SetPixel(point.x, point.y, point.colour);
        }
      } while (engine.EraseTurn != 0);
      ScreenPoint coming[2];
      for (int i = engine.ComingPixels(coming); i-- > 0;)
        pixels.Prefetch(coming[i].x, coming[i].y);
      delay.Delay();
    }
  }
  return engine.ShowFinished();
}

}  // namespace zirvo
