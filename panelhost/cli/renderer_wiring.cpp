#include "cli/renderer_wiring.h"

namespace panelhost {

// No renderer is linked into this build yet; `render` then ends a run with exit status 2.
PanelRenderer builtInRenderer() { return {}; }

}  // namespace panelhost
