// The program's icon "DEFAULT_ICON" as PNG images, for window systems that
// take images rather than the icon resource (the Windows build uses
// resources/quorvel.ico through its resource script).
#ifndef QUORVEL_RESOURCES_PROGRAM_ICON_H_
#define QUORVEL_RESOURCES_PROGRAM_ICON_H_

#include <cstdint>

#include "text/text.h"

namespace quorvel {

// The icon's PNG image of `pixels` x `pixels` (16, 32 or 48, in 16 colours);
// the empty Bytes for any other size.
//   ProgramIconPng(32).length() > 0
//   ProgramIconPng(24).empty()
Bytes ProgramIconPng(int32_t pixels);

}  // namespace quorvel

#endif  // QUORVEL_RESOURCES_PROGRAM_ICON_H_
