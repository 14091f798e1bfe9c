#include "sim_device.h"

#include <chrono>
#include <utility>

#include "config_blocks.h"
#include "diagnosis_memory.h"
#include "line_injection.h"
#include "module_counters.h"
#include "param_tables.h"
#include "products.h"
#include "sim_clock.h"
#include "sim_serial.h"
#include "sim_terminal.h"
#include "status_block.h"

namespace rwsim {

SimDevice::Clock SimDevice::steadyClock() {
  const auto start = std::chrono::steady_clock::now();
  return [start] {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  };
}

SimDevice::SimDevice(Clock clock, std::string versionText)
    : clock_(std::move(clock)),
      versionText_(std::move(versionText)),
      parTables_(std::make_unique<SimParTables>(SimParTables::standard())),
      blocks_(std::make_unique<SimConfigBlocks>()),
      terminal_(std::make_unique<SimTerminal>()),
      serial_(std::make_unique<SimSerialPorts>()),
      deviceClock_(std::make_unique<SimClock>(clock_, SimClock::hostLocalSeconds())),
      memory_(std::make_unique<SimDiagnosisMemory>()),
      products_(std::make_unique<SimProducts>(SimProducts::standard())) {
  handlers_[kCmdVersion] = [this](const Frame&) { return versionAnswer(); };
  handlers_[kCmdStatus] = [this](const Frame&) { return statusAnswer(); };
  handlers_[kCmdTableList] = [this](const Frame&) { return parTables_->tableList(); };
  handlers_[kCmdDescriptor] = [this](const Frame& r) { return parTables_->descriptor(r); };
  handlers_[kCmdWriteTable] = [this](const Frame& r) { return parTables_->writeTable(r); };
  handlers_[kCmdModuleCounters] = [this](const Frame&) {
    return Answer{kAck, moduleCounters(clock_())};
  };
  handlers_[kCmdWeightTrace] = [this](const Frame&) {
    return Answer{kAck, weightTrace_.reply(clock_())};
  };
  blocks_->install(*this);
  terminal_->install(*this);
  serial_->install(*this);
  deviceClock_->install(*this);
  memory_->install(*this);
  products_->install(*this);
  line_ = std::make_unique<SimLineInjection>(*this, weightTrace_, *memory_);
  line_->install(*this);
}

SimDevice::~SimDevice() = default;

Bytes SimDevice::reply(const Frame& request) {
  Answer answer;
  if (const auto it = handlers_.find(request.command); it != handlers_.end()) {
    answer = it->second(request);
  }
  Frame out;
  out.counter = ++counter_;
  out.command = request.command;
  out.params.reserve(answer.payload.size() + 1);
  out.params.push_back(answer.ack);
  out.params.insert(out.params.end(), answer.payload.begin(), answer.payload.end());
  return encodeFrame(out);
}

void SimDevice::setHandler(std::uint8_t command, Handler handler) {
  handlers_[command] = std::move(handler);
}

Answer SimDevice::versionAnswer() const {
  Answer answer;
  answer.payload.assign(versionText_.begin(), versionText_.end());
  answer.payload.push_back(0);
  return answer;
}

// The menu line and the bottom-bar field are the display terminal's own; the
// barcode flags those of the line simulator's injections.
Answer SimDevice::statusAnswer() {
  StatusValues values = statusAt(clock_());
  values.comm[1] = line_->takeBarcodeFlags();
  values.menuLine = terminal_->menuLine();
  values.bottomBarField = terminal_->bottomBarField();
  return Answer{kAck, encodeStatus(values)};
}

}  // namespace rwsim
