// vantorctl inject against rw4000-sim: an injected barcode lands in the
// barcode buffer and in the next status reply's flags, an injected weight in
// the next box of the trace. Each test has its own 127.0.0.N (230 .. 232).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "processes.h"

using namespace vantor;
using namespace vantor::e2e;

namespace {

std::string comStat(const char* host) {
  const CtlResult r = runCtl({"--host", host, "status"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const size_t at = r.out.find("ComStat: ");
  if (at == std::string::npos) return "(none)";
  return r.out.substr(at + 9, r.out.find('\n', at) - at - 9);
}

}  // namespace

TEST(LineSimulatorE2E, AnInjectedBarcodeShowsInTheStatusFlagsOnceAndInTheBuffer) {
  const char* host = "127.0.0.230";
  SimProcess sim(host);
  ASSERT_TRUE(sim.ready());
  EXPECT_EQ(comStat(host), "1 0 0 0");
  CtlResult r = runCtl({"--host", host, "inject", "barcode", "QZ7", "--reader", "1"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(comStat(host), "1 2 0 0");
  EXPECT_EQ(comStat(host), "1 0 0 0");                      // reported once
  r = runCtl({"--host", host, "inject", "barcode", "WX"});  // one reader: reader 0
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(comStat(host), "1 1 0 0");

  const CtlResult b = runCtl({"--host", host, "barcodes"});
  ASSERT_EQ(b.exitCode, 0) << b.err;
  EXPECT_NE(b.out.find("\n0x51 - Q\n0x5A - Z\n0x37 - 7\n0x00 - \n"), std::string::npos) << b.out;
  EXPECT_NE(b.out.find("\n0x57 - W\n0x58 - X\n0x00 - \n"), std::string::npos);

  EXPECT_EQ(runCtl({"--host", host, "inject", "barcode", "A", "--reader", "2"}).exitCode, 2);
  EXPECT_EQ(runCtl({"--host", host, "inject", "weight", "20001"}).exitCode, 2);
  const CtlResult tooLong = runCtl({"--host", host, "inject", "barcode", QString(201, QChar('A'))});
  EXPECT_EQ(tooLong.exitCode, 2);
  EXPECT_NE(tooLong.err.find("at most 200"), std::string::npos) << tooLong.err;
}

TEST(LineSimulatorE2E, AnInjectedWeightIsTheCalculatedWeightOfTheNextBox) {
  const char* host = "127.0.0.231";
  SimProcess sim(host);
  ASSERT_TRUE(sim.ready());
  // The simulated line's own boxes weigh 1000 .. 1499 g.
  const CtlResult r = runCtl({"--host", host, "inject", "weight", "1777"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  QTemporaryDir dir;
  const QString path = dir.filePath("trace.txt");
  const CtlResult t = runCtl({"--host", host, "trace", "record", path, "--seconds", "3"});
  ASSERT_EQ(t.exitCode, 0) << t.err;
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  int calculated = 0, found = 0;
  for (const QByteArray& line : f.readAll().split('\n')) {
    int real = 0, filtered = 0, flags = 0;
    if (std::sscanf(line.constData(), "%d; %d; %d; %d", &real, &filtered, &flags, &calculated) ==
            4 &&
        calculated >= 1775 && calculated <= 1779)
      ++found;
  }
  EXPECT_GT(found, 100);
}
