#include "app/startup.h"

namespace velkor {

std::string MainWindowTitle(OsGeneration generation) {
  switch (generation) {
    case OsGeneration::XP: return "Windows多Velkor[XP]";
    case OsGeneration::Win7: return "Windows多Velkor[Win7]";
    case OsGeneration::Other: break;
  }
  return kProgramTitle;
}

}  // namespace velkor
