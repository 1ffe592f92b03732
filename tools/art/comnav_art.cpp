#include "art/gauge_art.h"

void drawComNavArt(art::ArtOutput& /*out*/) {}
