#include "app/live_status.h"

#include <algorithm>

#include "link/text_format.h"

namespace vantor {

void LiveStatus::handleReply(int code, PayloadReader& payload) {
  switch (code) {
    case 70:
      versionReply(payload);
      break;
    case 51:
      statusReply(payload);
      break;
    case 0:
      shell_.setError(1, "lixo");
      break;
    default:
      break;
  }
}

void LiveStatus::versionReply(PayloadReader& payload) {
  version_ = payload.text(0, payload.size());
  shell_.setStatus(0, version_);
  if (version_.substr(0, 5) == kModelPrefix) channel_.queueCmd(62);
}

void LiveStatus::mainDisconnected() {
  fields_.current = false;
  shell_.changed(Area::LiveStatus);
}

void LiveStatus::statusReply(PayloadReader& p) {
  fields_.current = true;
  shell_.setStatus(1, format("Ls %u T %u Rs %d St %d", p.u32(8), p.u32(4), p.u8(12), p.u8(13)));
  fields_.comStat = format("%d %d %d %d", p.u8(0), p.u8(1), p.u8(2), p.u8(3));
  fields_.port2 = format("%X %X %X %X", p.u8(16), p.u8(17), p.u8(18), p.u8(19));
  fields_.lnMenu = std::min<int>(p.u8(14), kLnMenuItems - 1);
  fields_.brMenu = std::min<int>(p.u8(15), kBrMenuItems - 1);
  fields_.peso =
      format("%d %d %d %d %d %d", p.s32(20), p.s32(24), p.s32(28), p.s32(32), p.s32(36), p.s32(40));
  fields_.lastWeighingTime = p.u16(44);
  fields_.timPes = format("%u", fields_.lastWeighingTime);
  fields_.errorApp = format("%u", p.u32(46));
  fields_.webDeb = format("%x %x %x %x", p.u8(52), p.u8(53), p.u8(54), p.u8(55));
  shell_.changed(Area::LiveStatus);
}

}  // namespace vantor
