#include "platform/file_size_signal.h"

#include <csignal>

namespace vantor {

void reportOversizeWritesAsErrors() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace vantor
