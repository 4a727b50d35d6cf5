#include "app/handlers.h"
#include "app/main_window_description.h"

namespace quorvel {

void OnDetectButtonClicked(MonitorServices& services) {
  WindowOperations& window = services.window;
  // The caption is the watching state: anything but "开始检测" means watching.
  if (CompareText(window.ReadDetectButtonCaption(), kStartCaption) == 0) {
    window.WriteDetectTimerPeriod(kDetectPeriodMs);
    window.WriteDetectButtonCaption(kStopCaption);
  } else {
    window.WriteDetectTimerPeriod(0);
    window.WriteDetectButtonCaption(kStartCaption);
  }
}

}  // namespace quorvel
