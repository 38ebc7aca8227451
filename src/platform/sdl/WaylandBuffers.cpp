#include "platform/sdl/WaylandBuffers.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace zirvo {

namespace {

constexpr std::size_t kMostBuffers = 3;
// Past this many rectangles a buffer that missed them is copied whole.
constexpr std::size_t kMostMissed = 256;
constexpr std::uint32_t kShmVersion = 1;

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
  auto** shm = static_cast<wl_shm**>(data);
  if (*shm == nullptr && std::strcmp(interface, wl_shm_interface.name) == 0) {
    *shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, kShmVersion));
  }
}

void OnGlobalRemoved(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemoved};
const wl_buffer_listener kBufferListener = {WaylandBuffers::Released};

}  // namespace

std::unique_ptr<WaylandBuffers> WaylandBuffers::Create(SDL_Window* window, std::string& error) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_WAYLAND ||
      info.info.wl.display == nullptr || info.info.wl.surface == nullptr) {
    error = "not a Wayland window";
    return nullptr;
  }
  std::unique_ptr<WaylandBuffers> buffers(
      new WaylandBuffers(window, info.info.wl.display, info.info.wl.surface));
  if (!buffers->Bind(error))
    return nullptr;
  return buffers;
}

WaylandBuffers::WaylandBuffers(SDL_Window* window, wl_display* display, wl_surface* surface)
    : window_(window), display_(display), surface_(surface) {}

WaylandBuffers::~WaylandBuffers() {
  DropBuffers();
  if (shm_ != nullptr)
    wl_shm_destroy(shm_);
  if (registry_ != nullptr)
    wl_registry_destroy(registry_);
  if (queue_ != nullptr)
    wl_event_queue_destroy(queue_);
  wl_display_flush(display_);
}

WaylandBuffers::Buffer::~Buffer() {
  if (buffer != nullptr)
    wl_buffer_destroy(buffer);
  if (pixels != nullptr)
    munmap(pixels, bytes);
}

bool WaylandBuffers::Bind(std::string& error) {
  queue_ = wl_display_create_queue(display_);
  if (queue_ == nullptr) {
    error = "no event queue";
    return false;
  }
  // The registry, the shared memory and the buffers made from it all report
  // on our queue.
  registry_ = wl_display_get_registry(display_);
  if (registry_ == nullptr) {
    error = "no registry";
    return false;
  }
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(registry_), queue_);
  wl_registry_add_listener(registry_, &kRegistryListener, &shm_);
  if (wl_display_roundtrip_queue(display_, queue_) < 0 || shm_ == nullptr) {
    error = "the compositor offers no shared memory (wl_shm)";
    return false;
  }
  return true;
}

void WaylandBuffers::Released(void* data, wl_buffer* /*buffer*/) {
  static_cast<Buffer*>(data)->busy = false;
}

std::unique_ptr<WaylandBuffers::Buffer> WaylandBuffers::NewBuffer() {
  const int stride = width_ * 4;
  auto buffer = std::make_unique<Buffer>();
  buffer->bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height_);
  const int fd = memfd_create("zirvo-frame", MFD_CLOEXEC);
  if (fd < 0)
    return nullptr;
  if (ftruncate(fd, static_cast<off_t>(buffer->bytes)) != 0) {
    close(fd);
    return nullptr;
  }
  void* pixels = mmap(nullptr, buffer->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (pixels == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  buffer->pixels = pixels;
  wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<std::int32_t>(buffer->bytes));
  buffer->buffer =
      wl_shm_pool_create_buffer(pool, 0, width_, height_, stride, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);  // the buffer keeps the memory
  close(fd);
  if (buffer->buffer == nullptr)
    return nullptr;
  wl_buffer_add_listener(buffer->buffer, &kBufferListener, buffer.get());
  buffer->missedAll = true;  // black (new memory is zeroed): the picture comes from shown_
  return buffer;
}

void WaylandBuffers::DropBuffers() {
  drawn_ = nullptr;
  shown_ = nullptr;
  buffers_.clear();
  if (view_ != nullptr) {
    SDL_FreeSurface(view_);
    view_ = nullptr;
  }
}

void WaylandBuffers::CatchUp(Buffer& buffer) {
  if (&buffer == shown_ || shown_ == nullptr) {
    buffer.missed.clear();
    buffer.missedAll = false;
    return;
  }
  const auto* from = static_cast<const std::uint8_t*>(shown_->pixels);
  auto* to = static_cast<std::uint8_t*>(buffer.pixels);
  const std::size_t stride = static_cast<std::size_t>(width_) * 4;
  if (buffer.missedAll) {
    std::memcpy(to, from, buffer.bytes);
  } else {
    for (const SDL_Rect& rect : buffer.missed) {
      const int left = std::max(rect.x, 0);
      const int right = std::min(rect.x + rect.w, width_);
      const int bottom = std::min(rect.y + rect.h, height_);
      for (int y = std::max(rect.y, 0); y < bottom && left < right; ++y) {
        const std::size_t at =
            static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(left) * 4;
        std::memcpy(to + at, from + at, static_cast<std::size_t>(right - left) * 4);
      }
    }
  }
  buffer.missed.clear();
  buffer.missedAll = false;
}

SDL_Surface* WaylandBuffers::Surface() {
  // Releases that arrived since (SDL reads the connection; we dispatch ours).
  wl_display_dispatch_queue_pending(display_, queue_);
  int width = 0;
  int height = 0;
  SDL_GetWindowSizeInPixels(window_, &width, &height);
  if (width <= 0 || height <= 0)
    return nullptr;
  if (width != width_ || height != height_) {
    // A new size: new buffers, and a new surface object (made before the old
    // one is freed, so that it cannot be taken for the old one).
    SDL_Surface* old = view_;
    view_ = nullptr;
    drawn_ = nullptr;
    shown_ = nullptr;
    buffers_.clear();
    width_ = width;
    height_ = height;
    view_ = SDL_CreateRGBSurfaceWithFormatFrom(nullptr, width_, height_, 32, width_ * 4,
                                               SDL_PIXELFORMAT_RGB888);
    if (old != nullptr)
      SDL_FreeSurface(old);
    if (view_ == nullptr)
      return nullptr;
  }
  if (drawn_ != nullptr)
    return view_;

  // The compositor keeps a copy of a buffer it has released (as wlroots does
  // once it has read it): the newest picture is then drawn on again as it is.
  Buffer* next = shown_ != nullptr && !shown_->busy ? shown_ : nullptr;
  for (const auto& buffer : buffers_) {
    if (next == nullptr && !buffer->busy)
      next = buffer.get();
  }
  if (next == nullptr && buffers_.size() < kMostBuffers) {
    if (std::unique_ptr<Buffer> buffer = NewBuffer()) {
      buffers_.push_back(std::move(buffer));
      next = buffers_.back().get();
    }
  }
  // Every buffer held by the compositor: the frame goes on the newest one,
  // which may show it half drawn, rather than being lost.
  if (next == nullptr)
    next = shown_;
  if (next == nullptr)
    return nullptr;
  CatchUp(*next);
  drawn_ = next;
  view_->pixels = next->pixels;
  return view_;
}

bool WaylandBuffers::Lost() const {
  return wl_display_get_error(display_) != 0;
}

bool WaylandBuffers::Show(const SDL_Rect* rects, int count) {
  if (drawn_ == nullptr)
    return false;
  wl_surface_attach(surface_, drawn_->buffer, 0, 0);
  const bool inPixels = wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface_)) >=
                        WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
  if (count <= 0 || !inPixels) {
    if (inPixels)
      wl_surface_damage_buffer(surface_, 0, 0, width_, height_);
    else
      wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
  } else {
    for (int i = 0; i < count; ++i)
      wl_surface_damage_buffer(surface_, rects[i].x, rects[i].y, rects[i].w, rects[i].h);
  }
  wl_surface_commit(surface_);
  drawn_->busy = true;
  for (const auto& buffer : buffers_) {
    if (buffer.get() == drawn_ || buffer->missedAll)
      continue;
    if (count <= 0 || buffer->missed.size() + static_cast<std::size_t>(count) > kMostMissed) {
      buffer->missed.clear();
      buffer->missedAll = true;
    } else {
      buffer->missed.insert(buffer->missed.end(), rects, rects + count);
    }
  }
  shown_ = drawn_;
  drawn_ = nullptr;
  wl_display_flush(display_);
  return true;
}

}  // namespace zirvo
