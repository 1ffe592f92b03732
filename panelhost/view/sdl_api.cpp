#include "view/sdl_api.h"

namespace panelhost {

std::shared_ptr<const SdlApi> SdlApi::load() {
  std::shared_ptr<SdlApi> api(
      new SdlApi("libSDL2-2.0.so.0",
                 "panelhost view draws its window with SDL (Debian's libsdl2; "
                 "scripts/setup installs it)"));
  // SDL keeps threads and handlers of its own after SDL_Quit; unmapping it under them would pull
  // the code from beneath them, so the library stays for the rest of the process.
  api->library_.keepMapped();
  const SharedLibrary& l = api->library_;
  l.find("SDL_Init", api->Init);
  l.find("SDL_Quit", api->Quit);
  l.find("SDL_GetError", api->GetError);
  l.find("SDL_GetCurrentVideoDriver", api->GetCurrentVideoDriver);
  l.find("SDL_getenv", api->getenv);
  l.find("SDL_SetHint", api->SetHint);
  l.find("SDL_GetTicks64", api->GetTicks64);
  l.find("SDL_CreateWindow", api->CreateWindow);
  l.find("SDL_DestroyWindow", api->DestroyWindow);
  l.find("SDL_GetWindowSurface", api->GetWindowSurface);
  l.find("SDL_UpdateWindowSurface", api->UpdateWindowSurface);
  l.find("SDL_CreateRGBSurfaceWithFormat", api->CreateRGBSurfaceWithFormat);
  l.find("SDL_FreeSurface", api->FreeSurface);
  l.find("SDL_SetSurfaceBlendMode", api->SetSurfaceBlendMode);
  l.find("SDL_LockSurface", api->LockSurface);
  l.find("SDL_UnlockSurface", api->UnlockSurface);
  l.find("SDL_UpperBlit", api->BlitSurface);
  l.find("SDL_CreateCursor", api->CreateCursor);
  l.find("SDL_CreateSystemCursor", api->CreateSystemCursor);
  l.find("SDL_FreeCursor", api->FreeCursor);
  l.find("SDL_SetCursor", api->SetCursor);
  l.find("SDL_WaitEventTimeout", api->WaitEventTimeout);
  return api;
}

}  // namespace panelhost
