// SDL's functions, found in its shared library when a window is opened rather than linked into
// panelhost: SDL and the sound and display libraries it brings are mapped only by `view`, not by
// every scenario run.
#pragma once

#include <SDL.h>

#include <memory>

#include "support/shared_library.h"

namespace panelhost {

class SdlApi {
 public:
  // Throws HostError saying what is missing when the library or one of its functions is not there.
  static std::shared_ptr<const SdlApi> load();
  SdlApi(const SdlApi&) = delete;
  SdlApi& operator=(const SdlApi&) = delete;

  decltype(&::SDL_Init) Init = nullptr;
  decltype(&::SDL_Quit) Quit = nullptr;
  decltype(&::SDL_GetError) GetError = nullptr;
  decltype(&::SDL_GetCurrentVideoDriver) GetCurrentVideoDriver = nullptr;
  decltype(&::SDL_getenv) getenv = nullptr;
  decltype(&::SDL_SetHint) SetHint = nullptr;
  decltype(&::SDL_GetTicks64) GetTicks64 = nullptr;
  decltype(&::SDL_CreateWindow) CreateWindow = nullptr;
  decltype(&::SDL_DestroyWindow) DestroyWindow = nullptr;
  decltype(&::SDL_GetWindowSurface) GetWindowSurface = nullptr;
  decltype(&::SDL_UpdateWindowSurface) UpdateWindowSurface = nullptr;
  decltype(&::SDL_CreateRGBSurfaceWithFormat) CreateRGBSurfaceWithFormat = nullptr;
  decltype(&::SDL_FreeSurface) FreeSurface = nullptr;
  decltype(&::SDL_SetSurfaceBlendMode) SetSurfaceBlendMode = nullptr;
  decltype(&::SDL_LockSurface) LockSurface = nullptr;
  decltype(&::SDL_UnlockSurface) UnlockSurface = nullptr;
  decltype(&::SDL_UpperBlit) BlitSurface = nullptr;  // what SDL_BlitSurface stands for
  decltype(&::SDL_CreateCursor) CreateCursor = nullptr;
  decltype(&::SDL_CreateSystemCursor) CreateSystemCursor = nullptr;
  decltype(&::SDL_FreeCursor) FreeCursor = nullptr;
  decltype(&::SDL_SetCursor) SetCursor = nullptr;
  decltype(&::SDL_WaitEventTimeout) WaitEventTimeout = nullptr;

 private:
  SdlApi(const char* file, const char* neededFor) : library_(file, neededFor) {}
  SharedLibrary library_;
};

}  // namespace panelhost
