#include "app/handlers.h"
#include "resources/alert_sound.h"

namespace quorvel {

void OnWindowCreated(MonitorServices& services) {
  WindowOperations& window = services.window;
  // Anything of that name, even an empty file or a directory, is left as it is.
  if (window.PathFileExistsA(window.AlertSoundPath()) != 0) return;
  // A file that cannot be written only means that alerts will play nothing.
  window.WriteFileBytes(window.AlertSoundPath(), AlertSound());
}

}  // namespace quorvel
