// The firmware window's logic fed any sequence of boot-loader replies, timer
// ticks and link events: nothing is sent that no acknowledgement asked for,
// lines go out in file order and whole, and the state stays one of its letters.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fakes.h"
#include "firmware/firmware_upload.h"

using namespace vantor;
using vantor::test::FakeSeams;

namespace {

const std::string& firmwareFile() {
  static const std::string path = [] {
    const std::string p =
        (std::filesystem::temp_directory_path() / "vantor-boot-reply-fuzz.hex").string();
    if (FILE* f = std::fopen(p.c_str(), "wb")) {
      std::fputs(":0400000001020304F2\r\n:02001000AABB89\n\n:00000001FF", f);
      std::fclose(f);
    }
    return p;
  }();
  return path;
}

const char* const kLines[] = {":0400000001020304F2", ":02001000AABB89", ":00000001FF"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeSeams seams;
  FirmwareUpload fw(seams);
  auto& socket = *seams.sockets.at(0);
  auto& cmdTime = *seams.timers.at(0);
  auto& reconnect = *seams.timers.at(1);
  fw.host = "127.0.0.210";
  fw.FormShow();
  socket.connect();
  size_t nextLine = 0;  // the line the file order expects next
  size_t i = 0;
  while (i < size) {
    const uint8_t op = data[i++];
    socket.writes.clear();
    switch (op % 8) {
      case 0:
      case 1:
      case 2: {  // a reply of up to 15 bytes
        const size_t n = std::min<size_t>(op >> 4, size - i);
        if (n == 0) break;
        socket.receive(Bytes(data + i, data + i + n));
        i += n;
        break;
      }
      case 3:
        cmdTime.fire();
        break;
      case 4:
        if (fw.BtStrtClick(firmwareFile())) nextLine = 0;
        break;
      case 5:
        fw.AbortClick();
        break;
      case 6:
        socket.fail();
        reconnect.fire();
        socket.connect();
        break;
      case 7:
        (op & 0x10) ? fw.BtBootClick() : fw.BtFWClick();
        break;
    }
    // One event writes at most one request.
    if (socket.writes.size() > 1) std::abort();
    for (const Bytes& w : socket.writes) {
      const std::string sent(w.begin(), w.end());
      if (!sent.empty() && sent[0] == ':') {
        if (nextLine >= 3 || sent != kLines[nextLine]) std::abort();
        ++nextLine;
      }
      if (sent == "U0") nextLine = 0;
    }
    const char s = fw.state();
    if (s != 0 && s != 'F' && s != 'B' && s != 'U' && s != 'W' && s != 'S') std::abort();
    if (fw.linesSent() > fw.lineCount()) std::abort();
    if (fw.view().progressPosition > fw.view().progressMaximum) std::abort();
  }
  return 0;
}
