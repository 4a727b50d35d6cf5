#include "resources/program_icon.h"

namespace quorvel {

namespace embedded {
extern const unsigned char kProgramIcon16[];
extern const int kProgramIcon16Size;
extern const unsigned char kProgramIcon32[];
extern const int kProgramIcon32Size;
extern const unsigned char kProgramIcon48[];
extern const int kProgramIcon48Size;
}  // namespace embedded

Bytes ProgramIconPng(int32_t pixels) {
  switch (pixels) {
    case 16:
      return Bytes(embedded::kProgramIcon16, embedded::kProgramIcon16Size);
    case 32:
      return Bytes(embedded::kProgramIcon32, embedded::kProgramIcon32Size);
    case 48:
      return Bytes(embedded::kProgramIcon48, embedded::kProgramIcon48Size);
    default:
      return Bytes();
  }
}

}  // namespace quorvel
