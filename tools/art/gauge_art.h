#pragma once

#include "art/art_output.h"

// One function per radio; each draws and saves all of that radio's bitmaps.
void drawComNavArt(art::ArtOutput& out);
void drawTransponderArt(art::ArtOutput& out);
void drawAdfArt(art::ArtOutput& out);
