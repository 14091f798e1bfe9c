// vantorctl against rw4000-sim over real loopback sockets, also under the
// simulator's fault modes, and against stand-ins for what the simulator does
// not do (a connect never answered, replies scripted byte for byte). Each test
// has its own 127.0.0.N.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <regex>
#include <vector>

#include "app/data_dir.h"
#include "app/settings_file.h"
#include "loopback_peers.h"
#include "processes.h"
#include "status_shape.h"

using namespace vantor;
using namespace vantor::e2e;

namespace {

void expectStatusOutput(const CtlResult& r) {
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(looksLikeStatusOutput(r.out)) << r.out;
}

// The bytes of a frame printed in hex ("02 00 01 ..."); empty for anything else.
std::string hexBytes(const std::string& text) {
  std::string bytes;
  for (size_t at = 0; at + 2 <= text.size(); at += 3) {
    const std::string pair = text.substr(at, 2);
    if (!std::isxdigit(static_cast<unsigned char>(pair[0])) ||
        !std::isxdigit(static_cast<unsigned char>(pair[1])))
      return {};
    bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  }
  return bytes;
}

}  // namespace

TEST(VantorctlE2E, StatusPrintsTheVersionAndEveryStatusField) {
  SimProcess sim("127.0.0.20");
  ASSERT_TRUE(sim.ready());
  expectStatusOutput(runCtl({"--host", "127.0.0.20", "status"}));
}

TEST(VantorctlE2E, RawSendsTheGivenBytesAndPrintsTheReplyFrame) {
  SimProcess sim("127.0.0.21");
  ASSERT_TRUE(sim.ready());
  const CtlResult r = runCtl({"--host", "127.0.0.21", "raw", "82"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // A bare positive reply: ParNum 1, CMD 0x52, ACK, checksum, ETX.
  EXPECT_TRUE(std::regex_match(
      r.out,
      std::regex("02 00 01 [0-9A-F]{2} [0-9A-F]{2} 00 01 52 06 [0-9A-F]{2} [0-9A-F]{2} 03\n")))
      << r.out;
  const CtlResult status = runCtl({"--host", "127.0.0.21", "raw", "51", "aa", "0B"});
  EXPECT_EQ(status.exitCode, 0) << status.err;
  EXPECT_TRUE(std::regex_match(
      status.out,
      std::regex("02 00 01 [0-9A-F]{2} [0-9A-F]{2} 00 39 33 06( [0-9A-F]{2}){58} 03\n")))
      << status.out;
}

// Faults the link rides out: the reply still arrives whole, and the same
// simulator answers plainly once its fault is cleared.
TEST(VantorctlE2E, StatusSurvivesSplitJoinedDelayedAndGarbledReplies) {
  struct Case {
    const char* fault;
    const char* host;
  } cases[] = {
      {"split", "127.0.0.22"},
      {"join", "127.0.0.23"},
      {"garbage", "127.0.0.24"},
      {"slow:100", "127.0.0.25"},
  };
  for (const Case& c : cases) {
    SimProcess sim(c.host, {c.fault});
    ASSERT_TRUE(sim.ready()) << c.fault;
    SCOPED_TRACE(c.fault);
    expectStatusOutput(runCtl({"--host", c.host, "status"}));
    sim.control("clear");
    expectStatusOutput(runCtl({"--host", c.host, "status"}));
  }
}

// Faults that end the command: each ends it at once, long before --timeout,
// with the documented exit code and one line on stderr; a second run after
// the fault is cleared works.
TEST(VantorctlE2E, BrokenRepliesAndLinksGiveTheDocumentedExitCodesAtOnce) {
  struct Case {
    const char* fault;
    const char* host;
    int exitCode;
    std::string message;  // the start of stderr
    int64_t atLeastMs;    // what the run must have waited for
  } cases[] = {
      // The channel sends the request once more after a bad reply or a
      // silence; the second ends it.
      {"corrupt", "127.0.0.30", 3,
       "no good reply to command 70 (sent twice; last error: NET_ERR_CHK)\n", 0},
      {"silent", "127.0.0.31", 3, "no reply to command 70 (sent twice, 150 ms each)\n", 2 * 150},
      {"nak", "127.0.0.32", 5, "device refused command 70\n", 0},
      // The version reply is whole as a bare text; the status reply is the
      // first whose layout is longer.
      {"short", "127.0.0.63", 3, "short reply 51: 0 of 56 bytes\n", 0},
      {"drop", "127.0.0.33", 1, "connection to 127.0.0.33:47000: ", 0},
      {"refuse", "127.0.0.34", 1, "cannot connect to 127.0.0.34:47000: ", 0},
  };
  for (const Case& c : cases) {
    const QString host = c.host;
    const std::string message = "vantorctl: " + c.message;
    SimProcess sim(host, {c.fault});
    ASSERT_TRUE(sim.ready()) << c.fault;
    const CtlResult r =
        runCtl({"--host", host, "--timeout", "60", "--reply-timeout", "150", "status"});
    EXPECT_EQ(r.exitCode, c.exitCode) << c.fault << ": " << r.err;
    EXPECT_EQ(r.err.rfind(message, 0), 0u) << c.fault << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.fault << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.fault;
    EXPECT_GE(r.elapsedMs, c.atLeastMs) << c.fault;
    // Less than two default reply timeouts: a silence ends after two of 150 ms.
    EXPECT_LT(r.elapsedMs, 2000) << c.fault << ": waited for more than the reply timeouts";

    sim.control("clear");
    SCOPED_TRACE(std::string(c.fault) + " cleared");
    expectStatusOutput(runCtl({"--host", host, "status"}));
  }
}

TEST(VantorctlE2E, FaultSwitchedOnByControlCallAndOffAgain) {
  SimProcess sim("127.0.0.36");
  ASSERT_TRUE(sim.ready());
  sim.control("fault nak");
  const CtlResult refused = runCtl({"--host", "127.0.0.36", "--timeout", "1", "status"});
  EXPECT_EQ(refused.exitCode, 5);
  EXPECT_EQ(refused.err, "vantorctl: device refused command 70\n");
  sim.control("clear");
  expectStatusOutput(runCtl({"--host", "127.0.0.36", "status"}));
}

// --timeout bounds a silence, not the whole command: it is the reply
// timeouts that end the wait for a device that stopped answering, and
// --timeout only when it is the shorter of the two.
TEST(VantorctlE2E, TheDeadlineEndsASilenceShorterThanTheReplyTimeouts) {
  SimProcess sim("127.0.0.64", {"silent"});
  ASSERT_TRUE(sim.ready());
  const CtlResult r =
      runCtl({"--host", "127.0.0.64", "--timeout", "0.3", "--reply-timeout", "5000", "status"});
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(r.err, "vantorctl: no reply for 0.3 s\n");
  EXPECT_GE(r.elapsedMs, 300);
  EXPECT_LT(r.elapsedMs, 5000);
}

TEST(VantorctlE2E, HostComesFromTheWindowSettingsOrIsAUsageError) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string dataDir = dir.path().toStdString();
  const CtlResult none = runCtl({"--data-dir", dir.path(), "status"});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("no device address"), std::string::npos) << none.err;

  SimProcess sim("127.0.0.37");
  ASSERT_TRUE(sim.ready());
  const std::string path = settingsPath(withTrailingSlash(dataDir), kWindowCaption);
  ASSERT_TRUE(writeSettingsFile(
      path, SettingsRecord::make(0, "127.0.0.37", LocalTime{2026, 1, 1, 0, 0, 0})));
  expectStatusOutput(runCtl({"--data-dir", dir.path(), "status"}));
}

TEST(VantorctlE2E, UsageErrorsExitWithTwoAndSayWhy) {
  struct Case {
    QStringList args;
    const char* message;
  } cases[] = {
      {{"--host", "127.0.0.38"}, "A subcommand is required"},
      {{"--host", "127.0.0.38", "frobnicate"}, "A subcommand is required"},
      {{"--host", "127.0.0.38", "status", "now"}, "not expected: now"},
      {{"--host", "127.0.0.38", "raw"}, "CODE is required"},
      {{"--host", "127.0.0.38", "raw", "300"}, "'300' is not a command code from 0 to 255"},
      {{"--host", "127.0.0.38", "raw", "-1"}, "is not a command code"},
      {{"--host", "127.0.0.38", "raw", "82", "GG"}, "'GG' is not a hex byte"},
      {{"--host", "127.0.0.38", "raw", "82", "100"}, "'100' is not a hex byte"},
      {{"--host"}, "--host: 1 required ADDR missing"},
      {{"--host", "127.0.0.38", "--frob", "status"}, "--frob"},
      // A deadline must be positive and at most a day; beyond 2147483 s the
      // event loop's timer could not hold it at all.
      {{"--host", "127.0.0.38", "--timeout", "0", "status"}, "--timeout: '0' is not"},
      {{"--host", "127.0.0.38", "--timeout", "-3", "status"}, "--timeout: '-3' is not"},
      {{"--host", "127.0.0.38", "--timeout", "nan", "status"}, "--timeout: 'nan' is not"},
      {{"--host", "127.0.0.38", "--timeout", "86400.5", "status"}, "--timeout: '86400.5' is not"},
      {{"--host", "127.0.0.38", "--timeout", "2147484", "status"}, "--timeout: '2147484' is not"},
      {{"--host", "127.0.0.38", "--timeout", "soon", "status"}, "--timeout: 'soon' is not"},
      // The wait for one reply: whole milliseconds from 10 to a minute.
      {{"--host", "127.0.0.38", "--reply-timeout", "9", "status"},
       "--reply-timeout: '9' is not a whole number of milliseconds from 10 to 60000"},
      {{"--host", "127.0.0.38", "--reply-timeout", "60001", "status"},
       "--reply-timeout: '60001' is not"},
      {{"--host", "127.0.0.38", "--reply-timeout", "0", "status"}, "--reply-timeout: '0' is not"},
      {{"--host", "127.0.0.38", "--reply-timeout", "-100", "status"}, "--reply-timeout"},
      {{"--host", "127.0.0.38", "--reply-timeout", "1.5", "status"},
       "--reply-timeout: '1.5' is not"},
      {{"--host", "127.0.0.38", "--reply-timeout", "fast", "status"},
       "--reply-timeout: 'fast' is not"},
      {{"--host", "127.0.0.38", "--reply-timeout", "99999999999", "status"},
       "--reply-timeout: '99999999999' is not"},
      {{"--host", "127.0.0.38", "blocks", "backup", "--force", "x"}, "--force"},
  };
  for (const Case& c : cases) {
    const std::string args = c.args.join(' ').toStdString();
    const CtlResult r = runCtl(c.args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_EQ(r.err.rfind("vantorctl: ", 0), 0u) << args << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << args << ": " << r.err;
    EXPECT_EQ(r.out, "") << args;
  }
}

// Help and version are answered without a device: nothing listens on the
// address given, so a connect would end in exit code 1.
TEST(VantorctlE2E, EveryCommandHasItsOwnHelpAndTheToolItsVersion) {
  const CtlResult version = runCtl({"--host", "127.0.0.39", "--version"});
  EXPECT_EQ(version.exitCode, 0) << version.err;
  EXPECT_EQ(version.out, "vantorctl 8.10\n");

  struct Case {
    QStringList args;
    std::vector<const char*> shown;
    const char* notShown;
  } cases[] = {
      {{"--help"},
       {"Usage: vantorctl [OPTIONS] SUBCOMMAND", "--host ADDR", "--timeout SECONDS",
        "--reply-timeout MS", "--data-dir DIR", "--version", "status", "raw", "params", "blocks",
        "0  done", "1  connection failed or lost", "2  usage",
        "3  no reply in time or a protocol error",
        "4  a file refused, unreadable or not writable (nothing written to the device)",
        "5  the device refused the operation", "6  a comparison found differences"},
       "Usage: vantorctl raw"},
      {{"status", "--help"}, {"Usage: vantorctl status", "status fields"}, "CODE"},
      {{"raw", "--help"}, {"Usage: vantorctl raw [OPTIONS] CODE [HEX...]", "reply frame"}, "FILE"},
      {{"params", "--help"}, {"Usage: vantorctl params", "show", "save", "load"}, "backup"},
      {{"params", "load", "--help"},
       {"Usage: vantorctl params load [OPTIONS] FILE", "writes nothing"},
       "backup"},
      {{"blocks", "restore", "-h"},
       {"Usage: vantorctl blocks restore [OPTIONS] FILE", "340-byte", "--force"},
       "params"},
      {{"blocks", "backup", "-h"}, {"Usage: vantorctl blocks backup [OPTIONS] FILE"}, "--force"},
  };
  for (const Case& c : cases) {
    const std::string args = c.args.join(' ').toStdString();
    const CtlResult r = runCtl(QStringList{"--host", "127.0.0.39"} + c.args);
    EXPECT_EQ(r.exitCode, 0) << args << ": " << r.err;
    for (const char* text : c.shown)
      EXPECT_NE(r.out.find(text), std::string::npos) << args << ": " << text;
    EXPECT_EQ(r.out.find(c.notShown), std::string::npos) << args << ": " << c.notShown;
  }
}

TEST(VantorctlE2E, OptionsMayFollowTheCommandAndADayIsTheLongestDeadline) {
  SimProcess sim("127.0.0.44");
  ASSERT_TRUE(sim.ready());
  expectStatusOutput(runCtl({"status", "--timeout", "86400", "--host", "127.0.0.44"}));
}

// A connect that the other side never answers (its SYNs are dropped) is a
// connection that failed, not a device that did not reply.
TEST(VantorctlE2E, AConnectThatNeverCompletesIsAConnectionFailure) {
  StalledListener stalled("127.0.0.40", 47000);
  ASSERT_TRUE(stalled.stalled());
  const CtlResult r = runCtl({"--host", "127.0.0.40", "--timeout", "1", "status"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(
      r.err.find("cannot connect to 127.0.0.40:47000: the connection did not complete within 1 s"),
      std::string::npos)
      << r.err;
  EXPECT_EQ(r.out, "");
}

// Several replies read at once: the command's result is printed once, from
// the first reply that completes it, and the rest reach it no more.
TEST(VantorctlE2E, RepliesArrivingTogetherAfterTheResultArePrintedOnce) {
  std::string version, status;
  {
    SimProcess sim("127.0.0.43");
    ASSERT_TRUE(sim.ready());
    version = hexBytes(runCtl({"--host", "127.0.0.43", "raw", "70"}).out);
    status = hexBytes(runCtl({"--host", "127.0.0.43", "raw", "51"}).out);
  }
  ASSERT_FALSE(version.empty());
  ASSERT_FALSE(status.empty());
  struct Case {
    QStringList command;
    size_t lines;
    const char* start;
  } cases[] = {{{"status"}, 8, "Version:  RW4000 SIM"}, {{"raw", "51"}, 1, "02 00 01"}};
  for (const Case& c : cases) {
    const std::string args = c.command.join(' ').toStdString();
    // The answer to the first request: the version and three status replies in one write.
    ScriptedDevice device("127.0.0.41", 47000, version + status + status + status);
    ASSERT_TRUE(device.listening());
    const CtlResult r = runCtl(QStringList{"--host", "127.0.0.41", "--timeout", "5"} + c.command);
    EXPECT_TRUE(device.answered()) << args;
    EXPECT_EQ(r.exitCode, 0) << args << ": " << r.err;
    EXPECT_EQ(static_cast<size_t>(std::count(r.out.begin(), r.out.end(), '\n')), c.lines)
        << args << ":\n"
        << r.out;
    EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << args << ": " << r.out;
  }
}
