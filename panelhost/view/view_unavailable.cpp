// The view command of a build that found no SDL2.
#include <iostream>

#include "view/view_command.h"

namespace panelhost {

int viewCommand(const ViewRequest&) {
  std::cerr << "panelhost view: this panelhost was built without SDL2, which the window needs; "
               "install libsdl2-dev (scripts/setup does) and build again\n";
  return 2;
}

}  // namespace panelhost
