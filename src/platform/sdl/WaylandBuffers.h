// A Wayland window's pixels in shared memory, put on SDL's surface of the
// window directly: buffers of the window's size in pixels (on an output with
// a scale factor, one of ours for each of the output's), of which only the
// changed rectangles are damaged. SDL's own window surface there is sized in
// points and goes through OpenGL, which without a GPU is a software one:
// tens of percent of a core for a show at 1920 x 1080.
//
// The compositor reads a buffer until it releases it, so the next frame is
// drawn on another (up to three); a buffer taken again first gets the
// rectangles shown since it was last drawn on, copied from the newest one,
// so that every frame starts from the picture shown last. Events of these
// buffers go to a queue of their own, never into SDL's.
//
// Window thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Surface;
struct SDL_Rect;
struct wl_buffer;
struct wl_display;
struct wl_event_queue;
struct wl_registry;
struct wl_shm;
struct wl_surface;

namespace zirvo {

class WaylandBuffers {
 public:
  // Null, with the reason in `error`, when `window` is not on SDL's Wayland
  // driver or its compositor has no shared memory for us.
  static std::unique_ptr<WaylandBuffers> Create(SDL_Window* window, std::string& error);
  ~WaylandBuffers();
  WaylandBuffers(const WaylandBuffers&) = delete;
  WaylandBuffers& operator=(const WaylandBuffers&) = delete;

  // The surface the next frame is drawn on (32-bit XRGB), holding the picture
  // shown last; the same object until the window's size in pixels changes.
  // Null when the size is unknown or there is no memory for a buffer.
  SDL_Surface* Surface();
  // Shows what was drawn on Surface(), `rects` (in pixels) as the part that
  // changed; every pixel when `count` is 0. False when nothing was drawn on.
  bool Show(const SDL_Rect* rects, int count);
  // True once the connection to the compositor is broken (it went away).
  bool Lost() const;

  static void Released(void* data, wl_buffer* buffer);

 private:
  struct Buffer {
    ~Buffer();
    wl_buffer* buffer = nullptr;
    void* pixels = nullptr;
    std::size_t bytes = 0;
    bool busy = false;  // the compositor may read it
    // What was shown since this buffer was drawn on last.
    std::vector<SDL_Rect> missed;
    bool missedAll = false;
  };

  WaylandBuffers(SDL_Window* window, wl_display* display, wl_surface* surface);
  bool Bind(std::string& error);
  std::unique_ptr<Buffer> NewBuffer();
  // Brings `buffer` up to the picture shown last.
  void CatchUp(Buffer& buffer);
  void DropBuffers();

  SDL_Window* window_;
  wl_display* display_;
  wl_surface* surface_;  // SDL's
  wl_event_queue* queue_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_shm* shm_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::unique_ptr<Buffer>> buffers_;
  Buffer* drawn_ = nullptr;      // handed out by Surface(), not shown yet
  Buffer* shown_ = nullptr;      // the newest picture
  SDL_Surface* view_ = nullptr;  // drawn_'s pixels
};

}  // namespace zirvo
