// vantorctl against rw4000-sim over real loopback sockets, also under the
// simulator's fault modes. Each test has its own 127.0.0.N.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <regex>

#include "app/data_dir.h"
#include "app/settings_file.h"
#include "processes.h"

using namespace vantor;
using namespace vantor::e2e;

namespace {

void expectStatusOutput(const CtlResult& r) {
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::regex shape(
      "Version:  RW40[^\n]*\n"
      "Status: Ls [0-9]+ T [0-9]+ Rs [0-9]+ St [0-9]+\n"
      "ComStat: [0-9]+ [0-9]+ [0-9]+ [0-9]+\n"
      "Port2: [0-9A-F]+ [0-9A-F]+ [0-9A-F]+ [0-9A-F]+\n"
      "Peso: (-?[0-9]+ ){5}-?[0-9]+\n"
      "TimPes: [0-9]+\n"
      "ErrorApp: [0-9]+\n"
      "WebDeb: [0-9a-f]+ [0-9a-f]+ [0-9a-f]+ [0-9a-f]+\n");
  EXPECT_TRUE(std::regex_match(r.out, shape)) << r.out;
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

// Faults the link rides out: the reply still arrives whole.
TEST(VantorctlE2E, StatusSurvivesSplitJoinedDelayedAndGarbledReplies) {
  const char* faults[] = {"split", "join", "garbage", "slow:100"};
  int n = 22;
  for (const char* fault : faults) {
    const QString host = QString("127.0.0.%1").arg(n++);
    SimProcess sim(host, {fault});
    ASSERT_TRUE(sim.ready()) << fault;
    SCOPED_TRACE(fault);
    expectStatusOutput(runCtl({"--host", host, "status"}));
  }
}

// Faults that end the command: the exit code and the one line on stderr.
TEST(VantorctlE2E, BrokenRepliesAndLinksGiveTheDocumentedExitCodes) {
  struct Case {
    const char* fault;
    int exitCode;
    const char* message;
  } cases[] = {
      {"corrupt", 3, "no reply within 1 s; last error: NET_ERR_CHK"},
      {"nak", 3, "no reply within 1 s; last error: NAK"},
      {"silent", 3, "no reply within 1 s"},
      {"drop", 1, "connection to 127.0.0.3"},
      {"refuse", 1, "cannot connect to 127.0.0.3"},
  };
  int n = 30;
  for (const Case& c : cases) {
    const QString host = QString("127.0.0.%1").arg(n++);
    SimProcess sim(host, {c.fault});
    ASSERT_TRUE(sim.ready()) << c.fault;
    const CtlResult r = runCtl({"--host", host, "--timeout", "1", "status"});
    EXPECT_EQ(r.exitCode, c.exitCode) << c.fault << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.fault << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.fault;
  }
}

TEST(VantorctlE2E, FaultSwitchedOnByControlCallAndOffAgain) {
  SimProcess sim("127.0.0.36");
  ASSERT_TRUE(sim.ready());
  sim.control("fault nak");
  EXPECT_EQ(runCtl({"--host", "127.0.0.36", "--timeout", "1", "status"}).exitCode, 3);
  sim.control("clear");
  expectStatusOutput(runCtl({"--host", "127.0.0.36", "status"}));
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

TEST(VantorctlE2E, UsageErrorsExitWithTwo) {
  const QStringList cases[] = {
      {"--host", "127.0.0.38"},
      {"--host", "127.0.0.38", "frobnicate"},
      {"--host", "127.0.0.38", "raw"},
      {"--host", "127.0.0.38", "raw", "300"},
      {"--host", "127.0.0.38", "raw", "82", "GG"},
      {"--host", "127.0.0.38", "--timeout", "0", "status"},
      {"--host"},
  };
  for (const QStringList& args : cases) {
    const CtlResult r = runCtl(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_NE(r.err.find("usage: vantorctl"), std::string::npos);
  }
}
