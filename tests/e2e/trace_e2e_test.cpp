// vantorctl trace record against rw4000-sim: the record file holds consecutive
// samples of the simulator's trace for its seed, none lost or repeated, then
// the trailer. Addresses 127.0.0.170 .. 179.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "processes.h"
#include "test_files.h"
#include "weight_trace.h"

using namespace vantor::e2e;

namespace {

std::vector<std::string> crlfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string lineOf(const rwsim::TraceSample& s) {
  char line[80];
  std::snprintf(line, sizeof line, "%6d; %6d; %6d; %6d", s.real, s.filtered, int{s.flags},
                s.calculated);
  return line;
}

}  // namespace

TEST(TraceE2E, RecordWritesConsecutiveSamplesOfTheSimulatedLineAndTheTrailer) {
  const std::uint32_t seed = 77;
  SimProcess sim("127.0.0.170", {}, {"--seed", QString::number(seed)});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString path = dir.filePath("trace.txt");
  const CtlResult r =
      runCtl({"--host", "127.0.0.170", "trace", "record", path, "--seconds", "1.5"});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  const std::vector<std::string> lines = crlfLines(readFile(path));
  ASSERT_GE(lines.size(), 3u);
  const size_t samples = lines.size() - 2;
  EXPECT_EQ(r.out, std::to_string(samples) + "\n");
  // The first block holds the last 250 samples, then 1000 a second accrue. The
  // polls of the 1.5 s span at least a second after the first; the simulator
  // counts whole milliseconds, so a little less than a second's worth is allowed.
  EXPECT_GE(samples, 250u + 900u);
  EXPECT_LE(samples, 250u + 1500u + 1000u);

  // Find where the first lines sit in the simulator's trace (between boxes a
  // few quiet samples repeat, so enough of them to be sure), then every later
  // line must be the next sample.
  const size_t anchor = std::min<size_t>(samples, 64);
  std::uint64_t first = 0;
  bool found = false;
  for (std::uint64_t i = 0; i < 120000 && !found; ++i) {
    found = true;
    for (size_t k = 0; k < anchor && found; ++k)
      found = lineOf(rwsim::SimWeightTrace::sampleAt(i + k, seed)) == lines[k];
    if (found) first = i;
  }
  ASSERT_TRUE(found) << lines[0];
  for (size_t k = 0; k < samples; ++k) {
    ASSERT_EQ(lines[k], lineOf(rwsim::SimWeightTrace::sampleAt(first + k, seed))) << "line " << k;
  }
  EXPECT_EQ(lines[samples], "TimP; QpMe; InsP; Delt; TAcM; TAcN");
  EXPECT_TRUE(
      std::regex_match(lines[samples + 1], std::regex("( {0,3}-?[0-9]+; ){5} {0,3}-?[0-9]+")))
      << lines[samples + 1];
}

TEST(TraceE2E, AFileThatCannotBeCreatedEndsTheRunBeforeConnecting) {
  QTemporaryDir dir;
  const QString path = dir.filePath("missing/trace.txt");
  // Nothing listens on this address: a run that connected would fail with 1.
  const CtlResult r = runCtl({"--host", "127.0.0.171", "trace", "record", path, "--seconds", "1"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("Cannot create " + path.toStdString() + ": No such file or directory"),
            std::string::npos)
      << r.err;
}
