#include "host/cut_text.h"

void writeCutText(char* buffer, std::size_t size, std::initializer_list<const char*> pieces) {
  if (size == 0) return;
  std::size_t length = 0;
  for (const char* piece : pieces) {
    for (; *piece != '\0' && length + 1 < size; ++piece) buffer[length++] = *piece;
  }
  buffer[length] = '\0';
}
