// The three event handlers of MainWindow and what they run against.
#ifndef QUORVEL_APP_HANDLERS_H_
#define QUORVEL_APP_HANDLERS_H_

#include "app/window_operations.h"
#include "pattern/regex_engine.h"
#include "web/http_request.h"

namespace quorvel {

// The window and the two automation components, chosen once at start-up.
struct MonitorServices {
  WindowOperations& window;
  HttpRequestProvider& http;
  RegexEngineProvider& regex;
};

// Writes the alert sound file beside the executable when nothing of that name exists.
void OnWindowCreated(MonitorServices& services);
// Switches watching on and off.
void OnDetectButtonClicked(MonitorServices& services);
// One poll cycle.
void OnDetectTimerTick(MonitorServices& services);

}  // namespace quorvel

#endif  // QUORVEL_APP_HANDLERS_H_
