#include "view/sdl_api.h"

#include <dlfcn.h>

#include <string>

#include "support/host_error.h"

namespace panelhost {

namespace {

constexpr const char* kLibrary = "libSDL2-2.0.so.0";

template <typename Function>
void find(void* library, const char* name, Function& into) {
  into = reinterpret_cast<Function>(dlsym(library, name));
  if (into == nullptr) {
    throw HostError(std::string("the window library ") + kLibrary + " lacks " + name);
  }
}

}  // namespace

std::shared_ptr<const SdlApi> SdlApi::load() {
  std::shared_ptr<SdlApi> api(new SdlApi());
  api->library_ = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (api->library_ == nullptr) {
    const char* why = dlerror();
    throw HostError(std::string("panelhost view draws with ") + kLibrary +
                    " (Debian's libsdl2; scripts/setup installs it): " +
                    (why ? why : "it could not be loaded"));
  }
  void* l = api->library_;
  find(l, "SDL_Init", api->Init);
  find(l, "SDL_Quit", api->Quit);
  find(l, "SDL_GetError", api->GetError);
  find(l, "SDL_GetCurrentVideoDriver", api->GetCurrentVideoDriver);
  find(l, "SDL_getenv", api->getenv);
  find(l, "SDL_SetHint", api->SetHint);
  find(l, "SDL_GetTicks64", api->GetTicks64);
  find(l, "SDL_CreateWindow", api->CreateWindow);
  find(l, "SDL_DestroyWindow", api->DestroyWindow);
  find(l, "SDL_GetWindowSurface", api->GetWindowSurface);
  find(l, "SDL_UpdateWindowSurface", api->UpdateWindowSurface);
  find(l, "SDL_CreateRGBSurfaceWithFormat", api->CreateRGBSurfaceWithFormat);
  find(l, "SDL_FreeSurface", api->FreeSurface);
  find(l, "SDL_SetSurfaceBlendMode", api->SetSurfaceBlendMode);
  find(l, "SDL_LockSurface", api->LockSurface);
  find(l, "SDL_UnlockSurface", api->UnlockSurface);
  find(l, "SDL_UpperBlit", api->BlitSurface);
  find(l, "SDL_CreateCursor", api->CreateCursor);
  find(l, "SDL_CreateSystemCursor", api->CreateSystemCursor);
  find(l, "SDL_FreeCursor", api->FreeCursor);
  find(l, "SDL_SetCursor", api->SetCursor);
  find(l, "SDL_WaitEventTimeout", api->WaitEventTimeout);
  return api;
}

SdlApi::~SdlApi() {
  // SDL keeps threads and handlers of its own after SDL_Quit; unmapping it under them would pull
  // the code from beneath them, so the library stays for the rest of the process.
}

}  // namespace panelhost
