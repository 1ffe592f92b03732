// Text written into a buffer of fixed size the way snprintf writes it: as much as fits before the
// terminator, always terminated, and nothing at all into a buffer of no bytes. The module carries
// no printf: the general formatter alone would double the size of its code.
#pragma once

#include <cstddef>
#include <initializer_list>

// Writes the pieces one after another, as snprintf(buffer, size, "%s%s...", pieces...) does.
void writeCutText(char* buffer, std::size_t size, std::initializer_list<const char*> pieces);
