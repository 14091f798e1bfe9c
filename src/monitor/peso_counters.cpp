#include "monitor/peso_counters.h"

#include "link/text_format.h"

namespace vantor {

void PesoCounters::handleReply(int code, PayloadReader& p) {
  if (code != 34) return;
  controls.edit5 = format("R%d Ow%d Id%d St%d IdCk%d IdO%d", p.u16(0), p.u16(2), p.u16(4), p.u16(6),
                          p.u16(8), p.u16(10));
  shell_.changed(Area::ConfigBlocks);
}

}  // namespace vantor
