// vantorctl's diagnosis commands against rw4000-sim over loopback: the event
// log, RAM, EEPROM, the barcode buffer, the kill request and --trace. Each test
// has its own 127.0.0.N (183 to 187).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <regex>

#include "processes.h"
#include "test_files.h"

using namespace vantor::e2e;

namespace {

size_t countOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(DiagnosisE2E, LogDownloadsAndWritesTheDecodedFile) {
  SimProcess sim("127.0.0.183", {}, {"--log-events", "300"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  // The default file: the window's log file in the data directory.
  const CtlResult r = runCtl({"--host", "127.0.0.183", "--data-dir", dir.path(), "log"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string path = QDir(dir.path()).filePath("RW4000 Vantor8.10.log").toStdString();
  EXPECT_EQ(r.out, path + "\n300 events\n");
  const std::string text = readFile(QString::fromStdString(path));
  EXPECT_EQ(text.rfind(" RW4000 SIM 8.10\tIP:127.0.0.183\r\nN LOG: 300\r\n", 0), 0u)
      << text.substr(0, 80);
  EXPECT_EQ(countOf(text, "\r\n"), 302u);
  EXPECT_EQ(countOf(text, "\n"), 302u);  // no bare line feed
  EXPECT_NE(text.find("***RESET***"), std::string::npos);
  EXPECT_NE(text.find("Date:10/12/2026"), std::string::npos);
  EXPECT_NE(text.find(" BarCode"), std::string::npos);
  EXPECT_NE(text.find("Print INI"), std::string::npos);

  // An explicit file; the default one is left alone.
  const QString other = QDir(dir.path()).filePath("other.log");
  const CtlResult again = runCtl({"--host", "127.0.0.183", "log", other});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(readFile(other), text);
}

TEST(DiagnosisE2E, RamWordsAreWrittenAndReadOverTheFullAddressRange) {
  SimProcess sim("127.0.0.184");
  ASSERT_TRUE(sim.ready());
  const QString host = "127.0.0.184";
  struct Case {
    const char* address;
    const char* value;
    const char* shown;
  };
  for (const Case& c : {Case{"0x80000004", "-1", "4294967295 FFFFFFFF\n"},
                        Case{"4", "0x12345678", "305419896 12345678\n"},
                        Case{"0xFFFFFFFC", "4294967295", "4294967295 FFFFFFFF\n"}}) {
    const CtlResult w = runCtl({"--host", host, "ram", "write", c.address, c.value});
    ASSERT_EQ(w.exitCode, 0) << w.err;
    const CtlResult r = runCtl({"--host", host, "ram", "read", c.address});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, c.shown) << c.address;
  }
  // Words never written read as 0; the upper half is its own address.
  EXPECT_EQ(runCtl({"--host", host, "ram", "read", "0x00000004"}).out, "305419896 12345678\n");
  EXPECT_EQ(runCtl({"--host", host, "ram", "read", "8"}).out, "0 00000000\n");
  EXPECT_EQ(runCtl({"--host", host, "ram", "read", "0x1FFFFFFFF"}).exitCode, 2);
  EXPECT_EQ(runCtl({"--host", host, "ram", "write", "4", "x"}).exitCode, 2);
}

TEST(DiagnosisE2E, EepromBytesAreWrittenReadAndThePastTheEndStatusShown) {
  SimProcess sim("127.0.0.185");
  ASSERT_TRUE(sim.ready());
  const QString host = "127.0.0.185";
  QStringList write{"--host", host, "eeprom", "write", "0x100"};
  for (int i = 0; i < 20; ++i) write << QString::asprintf("%02X", 0xE0 + i);
  const CtlResult w = runCtl(write);
  ASSERT_EQ(w.exitCode, 0) << w.err;
  EXPECT_EQ(w.out, "status 0\n");
  const CtlResult r = runCtl({"--host", host, "eeprom", "read", "256", "20"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "status 0\n"
            "E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF\n"
            "F0 F1 F2 F3\n");
  const CtlResult past = runCtl({"--host", host, "eeprom", "read", "16777215", "2"});
  EXPECT_EQ(past.exitCode, 5) << past.err;
  EXPECT_EQ(past.out.substr(0, 9), "status 1\n");
  EXPECT_EQ(runCtl({"--host", host, "eeprom", "read", "0", "129"}).exitCode, 2);
  EXPECT_EQ(runCtl({"--host", host, "eeprom", "read", "16777216", "1"}).exitCode, 2);
}

TEST(DiagnosisE2E, BarcodesPrintsTheBufferAsTheWindowShowsIt) {
  SimProcess sim("127.0.0.186");
  ASSERT_TRUE(sim.ready());
  const CtlResult r = runCtl({"--host", "127.0.0.186", "barcodes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(countOf(r.out, "\n"), 650u);
  EXPECT_EQ(r.out.substr(0, 20), "\n0x38 - 8\n0x37 - 7\n0");
  EXPECT_NE(r.out.find("\n0x00 - \n"), std::string::npos);
}

TEST(DiagnosisE2E, KillClosesTheNamedPortsConnectionsAndTraceShowsFrames) {
  SimProcess sim("127.0.0.187");
  ASSERT_TRUE(sim.ready());
  QTcpSocket mob, integ;
  mob.connectToHost("127.0.0.187", 46000);
  integ.connectToHost("127.0.0.187", 49000);
  ASSERT_TRUE(mob.waitForConnected(5000));
  ASSERT_TRUE(integ.waitForConnected(5000));
  const CtlResult r = runCtl({"--host", "127.0.0.187", "kill", "mob"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The simulator closes the 46000 connection, and only that one (the 49000
  // connection sees no end within a while after it).
  EXPECT_TRUE(mob.state() == QAbstractSocket::UnconnectedState || mob.waitForDisconnected(5000));
  EXPECT_FALSE(integ.waitForDisconnected(300));
  EXPECT_EQ(runCtl({"--host", "127.0.0.187", "kill", "bad"}).exitCode, 2);
  // "van" closes the main port's connections; the others stay.
  QTcpSocket main;
  main.connectToHost("127.0.0.187", 47000);
  ASSERT_TRUE(main.waitForConnected(5000));
  ASSERT_EQ(runCtl({"--host", "127.0.0.187", "kill", "VAN"}).exitCode, 0);
  EXPECT_TRUE(main.state() == QAbstractSocket::UnconnectedState || main.waitForDisconnected(5000));
  EXPECT_FALSE(integ.waitForDisconnected(300));

  const CtlResult traced = runCtl({"--host", "127.0.0.187", "--trace", "ram", "read", "4"});
  ASSERT_EQ(traced.exitCode, 0) << traced.err;
  EXPECT_TRUE(std::regex_search(
      traced.err, std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3} TX  12 02 00 01")))
      << traced.err;
  EXPECT_TRUE(std::regex_search(traced.err, std::regex("RX  12 02 00 01 [0-9A-F ]+ \\[ok\\]")))
      << traced.err;
}

TEST(DiagnosisE2E, KillWithNobodyListeningFailsAsAConnection) {
  // Nothing listens on 127.0.0.188.
  const CtlResult r = runCtl({"--host", "127.0.0.188", "--timeout", "2", "kill", "van"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("46990"), std::string::npos) << r.err;
}
