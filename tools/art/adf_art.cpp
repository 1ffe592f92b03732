#include "art/gauge_art.h"

void drawAdfArt(art::ArtOutput& /*out*/) {}
