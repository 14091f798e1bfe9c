#include "cli/trace_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "link/text_format.h"
#include "monitor/trace_record_file.h"

namespace vantor {

void TraceCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* trace = app.add_subcommand("trace", "The weight trace.");
  trace->require_subcommand(1);
  CLI::App* record = trace->add_subcommand(
      "record",
      "Record the weight trace to a text file, as the window's SavePeso does: one line per "
      "sample, then the trailer with the weighing time and the system parameters. Prints the "
      "number of samples recorded.");
  auto path = std::make_shared<std::string>();
  auto seconds = std::make_shared<double>(10);
  record->add_option("FILE", *path, "the record file (created or emptied)")->required();
  record->add_option("--seconds", *seconds, "how long to record")
      ->type_name("N")
      ->check(CLI::Range(0.25, kMaxSeconds))
      ->capture_default_str();
  record->callback(
      [&chosen, path, seconds] { chosen = std::make_unique<TraceCommand>(*path, *seconds); });
}

void TraceCommand::prepare(CtlSession& session) {
  // The file must be creatable before anything is connected.
  TraceRecordFile probe;
  std::string error;
  if (!probe.open(path_, error)) session.fail(kExitFile, error);
}

void TraceCommand::connected(CtlSession& session) {
  session.device().configBlocks.GetClick(BlockId::Sys);  // the trailer's parameters
  session.progress("Reading the weighing settings");
}

void TraceCommand::replied(CtlSession& session, int code, ByteView) {
  if (code == 51) haveStatus_ = true;
  if (code == 52 && haveStatus_ && !started_) startRecording(session);
  if (started_ && !session.device().weightTrace.recording()) {
    // The recording stopped on its own: the disk refused a write.
    session.fail(kExitFile, session.device().weightTrace.controls.message);
  }
}

void TraceCommand::startRecording(CtlSession& session) {
  started_ = true;
  WeightTrace& trace = session.device().weightTrace;
  trace.SavePesoClick(true, path_);
  if (!trace.recording()) {
    session.fail(kExitFile, trace.controls.message);
    return;
  }
  session.progress(format("Recording the trace for %g s", seconds_));
  end_.setSingleShot(true);
  end_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&end_, &QTimer::timeout, [this, &session] { stop(session); });
  end_.start(static_cast<int>(seconds_ * 1000));
}

void TraceCommand::stop(CtlSession& session) {
  if (session.done()) return;
  WeightTrace& trace = session.device().weightTrace;
  trace.SavePesoClick(false);
  if (!trace.recordError().empty()) {
    session.fail(kExitFile, trace.recordError());
    return;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(trace.samplesRecorded()));
  std::fflush(stdout);
  session.finish(kExitOk);
}

}  // namespace vantor
