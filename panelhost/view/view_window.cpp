#include "view/view_window.h"

#include <array>
#include <cstring>

#include "support/host_error.h"
#include "view/sdl_api.h"

namespace panelhost {

namespace {

struct WindowDeleter {
  const SdlApi* sdl = nullptr;
  void operator()(SDL_Window* window) const { sdl->DestroyWindow(window); }
};
struct SurfaceDeleter {
  const SdlApi* sdl = nullptr;
  void operator()(SDL_Surface* surface) const { sdl->FreeSurface(surface); }
};
struct CursorDeleter {
  const SdlApi* sdl = nullptr;
  void operator()(SDL_Cursor* cursor) const { sdl->FreeCursor(cursor); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
using CursorPtr = std::unique_ptr<SDL_Cursor, CursorDeleter>;

// SDL's video, from the first window to the last thing SDL made being freed.
class SdlVideo {
 public:
  SdlVideo() : sdl_(SdlApi::load()) {
    if (sdl_->Init(SDL_INIT_VIDEO) != 0) {
      throw HostError(std::string("expected a display to open the window on (DISPLAY), got: ") +
                      sdl_->GetError());
    }
    // Without a display SDL settles for a window nobody sees, which nobody could close either;
    // unless it was asked for one (SDL_VIDEODRIVER), that is no window.
    const std::string driver = sdl_->GetCurrentVideoDriver();
    if ((driver == "offscreen" || driver == "dummy") &&
        sdl_->getenv("SDL_VIDEODRIVER") == nullptr) {
      sdl_->Quit();
      throw HostError("expected a display to open the window on (DISPLAY), got none");
    }
  }
  ~SdlVideo() { sdl_->Quit(); }
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;
  const SdlApi& sdl() const { return *sdl_; }

 private:
  std::shared_ptr<const SdlApi> sdl_;
};

// SDL has no up or down arrow among its system cursors, and the gauges ask for both: a black
// arrow with a white rim, 16 pixels square, pointing at its hot spot.
constexpr int kArrowSide = 16;

bool inUpArrow(int x, int y) {
  if (y >= 1 && y <= 7) return x >= 8 - y && x <= 7 + y;  // the head, widening downwards
  return y >= 8 && y <= 14 && x >= 6 && x <= 9;           // the shaft
}

CursorPtr arrowCursor(const SdlApi& sdl, bool up) {
  std::array<Uint8, kArrowSide * kArrowSide / 8> data{};
  std::array<Uint8, kArrowSide * kArrowSide / 8> mask{};
  auto inArrow = [up](int x, int y) {
    return x >= 0 && y >= 0 && x < kArrowSide && y < kArrowSide &&
           inUpArrow(x, up ? y : kArrowSide - 1 - y);
  };
  for (int y = 0; y < kArrowSide; ++y) {
    for (int x = 0; x < kArrowSide; ++x) {
      bool rim = false;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) rim = rim || inArrow(x + dx, y + dy);
      }
      const std::size_t byte = static_cast<std::size_t>(y * kArrowSide + x) / 8;
      const Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
      if (inArrow(x, y)) data[byte] |= bit;
      if (rim) mask[byte] |= bit;
    }
  }
  const int hotX = kArrowSide / 2 - 1;
  return CursorPtr(sdl.CreateCursor(data.data(), mask.data(), kArrowSide, kArrowSide, hotX,
                                    up ? 1 : kArrowSide - 2),
                   CursorDeleter{&sdl});
}

}  // namespace

struct ViewWindow::Impl {
  SdlVideo video;  // first made, last gone
  const SdlApi& sdl = video.sdl();
  WindowPtr window{nullptr, WindowDeleter{&sdl}};
  SurfacePtr staging{nullptr, SurfaceDeleter{&sdl}};  // the picture in SDL's form, to be blitted
  CursorPtr arrow{sdl.CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW), CursorDeleter{&sdl}};
  CursorPtr hand{sdl.CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND), CursorDeleter{&sdl}};
  CursorPtr upArrow = arrowCursor(sdl, true);
  CursorPtr downArrow = arrowCursor(sdl, false);
  CursorShape shape = CursorShape::Arrow;
  std::uint64_t openedMs = sdl.GetTicks64();

  SDL_Cursor* cursorFor(CursorShape wanted) const {
    switch (wanted) {
      case CursorShape::UpArrow:
        return upArrow.get();
      case CursorShape::DownArrow:
        return downArrow.get();
      case CursorShape::Hand:
        return hand.get();
      default:
        return arrow.get();
    }
  }

  std::uint64_t sinceOpened(Uint32 sdlTicks) const {
    return sdlTicks > openedMs ? sdlTicks - openedMs : 0;
  }

  std::optional<ViewInput> translate(const SDL_Event& event) const {
    ViewInput input;
    input.timeMs = sinceOpened(event.common.timestamp);
    switch (event.type) {
      case SDL_QUIT:
        input.kind = ViewInput::Kind::Quit;
        return input;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          input.kind = ViewInput::Kind::Quit;
          return input;
        }
        if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
          input.kind = ViewInput::Kind::Leave;
          return input;
        }
        return std::nullopt;
      case SDL_MOUSEMOTION:
        input.kind = ViewInput::Kind::Motion;
        input.x = event.motion.x;
        input.y = event.motion.y;
        return input;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        // The host's mouse tables know the left button only.
        if (event.button.button != SDL_BUTTON_LEFT) return std::nullopt;
        input.kind = event.type == SDL_MOUSEBUTTONDOWN ? ViewInput::Kind::ButtonDown
                                                       : ViewInput::Kind::ButtonUp;
        input.x = event.button.x;
        input.y = event.button.y;
        return input;
      case SDL_MOUSEWHEEL:
        if (event.wheel.y == 0) return std::nullopt;  // a sideways wheel
        input.kind = ViewInput::Kind::Wheel;
        input.wheelSteps =
            event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        input.x = event.wheel.mouseX;
        input.y = event.wheel.mouseY;
        return input;
      case SDL_KEYDOWN: {
        if (event.key.repeat != 0) return std::nullopt;
        const SDL_Keycode key = event.key.keysym.sym;
        input.kind = ViewInput::Kind::Key;
        if (key == SDLK_ESCAPE) {
          input.key = ViewInput::kEscape;
        } else if (key >= SDLK_a && key <= SDLK_z) {
          input.key = static_cast<char>('a' + (key - SDLK_a));
        } else {
          return std::nullopt;
        }
        return input;
      }
      default:
        return std::nullopt;
    }
  }
};

ViewWindow::ViewWindow(const std::string& title, Size size) : impl_(std::make_unique<Impl>()) {
  // A window surface drawn through an OpenGL renderer makes SDL replace the window by another
  // one, under the feet of whoever found the first; the plain X framebuffer keeps it.
  impl_->sdl.SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  impl_->window.reset(impl_->sdl.CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                              SDL_WINDOWPOS_CENTERED, size.width, size.height, 0));
  if (!impl_->window || impl_->sdl.GetWindowSurface(impl_->window.get()) == nullptr) {
    throw HostError(std::string("expected to open a window, got: ") + impl_->sdl.GetError());
  }
}

ViewWindow::~ViewWindow() = default;

void ViewWindow::show(const Image& picture) {
  SDL_Surface* target = impl_->sdl.GetWindowSurface(impl_->window.get());
  if (target == nullptr) return;  // the window is going; nothing to show it on
  SurfacePtr& staging = impl_->staging;
  if (!staging || staging->w != picture.width() || staging->h != picture.height()) {
    // Rgba is four bytes in the order red, green, blue, alpha, which is SDL's RGBA32.
    staging.reset(impl_->sdl.CreateRGBSurfaceWithFormat(0, picture.width(), picture.height(), 32,
                                                        SDL_PIXELFORMAT_RGBA32));
    if (!staging) return;
    impl_->sdl.SetSurfaceBlendMode(staging.get(), SDL_BLENDMODE_NONE);
  }
  impl_->sdl.LockSurface(staging.get());
  const auto* source = reinterpret_cast<const Uint8*>(picture.pixels().data());
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * sizeof(Rgba);
  for (int y = 0; y < picture.height(); ++y) {
    std::memcpy(static_cast<Uint8*>(staging->pixels) + static_cast<std::size_t>(y) * staging->pitch,
                source + static_cast<std::size_t>(y) * rowBytes, rowBytes);
  }
  impl_->sdl.UnlockSurface(staging.get());
  impl_->sdl.BlitSurface(staging.get(), nullptr, target, nullptr);
  impl_->sdl.UpdateWindowSurface(impl_->window.get());
}

void ViewWindow::setCursor(CursorShape shape) {
  if (shape == impl_->shape) return;
  impl_->shape = shape;
  if (SDL_Cursor* cursor = impl_->cursorFor(shape)) impl_->sdl.SetCursor(cursor);
}

std::optional<ViewInput> ViewWindow::nextInput(int timeoutMs) {
  const std::uint64_t until = ticksMs() + static_cast<std::uint64_t>(timeoutMs > 0 ? timeoutMs : 0);
  SDL_Event event;
  for (;;) {
    const std::uint64_t now = ticksMs();
    const int wait = now >= until ? 0 : static_cast<int>(until - now);
    if (impl_->sdl.WaitEventTimeout(&event, wait) == 0) return std::nullopt;
    if (auto input = impl_->translate(event)) return input;
    if (wait == 0) return std::nullopt;
  }
}

std::uint64_t ViewWindow::ticksMs() const { return impl_->sdl.GetTicks64() - impl_->openedMs; }

}  // namespace panelhost
