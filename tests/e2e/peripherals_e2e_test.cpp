// vantorctl's label, reject-text and integrator commands against rw4000-sim
// over real loopback sockets. Each test has its own 127.0.0.N (190 .. 199).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <thread>

#include "processes.h"

using namespace vantor;
using namespace vantor::e2e;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
  return path;
}

QByteArray label(int size) {
  QByteArray bytes;
  for (int i = 0; i < size; ++i) bytes.append(static_cast<char>('A' + i % 26));
  return bytes;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t nl = text.find('\n', start);
    out.push_back(text.substr(start, nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return out;
}

}  // namespace

TEST(PeripheralsE2E, LabelUploadIsSentAndShowsInTheValidityTable) {
  SimProcess sim("127.0.0.190");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString file = writeFile(dir, "label.txt", label(2500));
  const CtlResult r =
      runCtl({"--host", "127.0.0.190", "label", "upload", file, "--pos", "2", "--id", "5"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Sent\n");
  const CtlResult v = runCtl({"--host", "127.0.0.190", "label", "validity"});
  EXPECT_EQ(v.exitCode, 0) << v.err;
  const std::vector<std::string> rows = lines(v.out);
  ASSERT_EQ(rows.size(), 9u) << v.out;
  // Position 2: valid, identifier 5, 2501 bytes (the label and its zero byte).
  EXPECT_EQ(rows[2], "1\t5\t197\t9");
  EXPECT_EQ(rows[0], "0\t0\t0\t0");
}

TEST(PeripheralsE2E, AWrongChecksumEndsWithErrorAndARefusedFileSendsNothing) {
  SimProcess sim("127.0.0.191", {"label-checksum"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const CtlResult r =
      runCtl({"--host", "127.0.0.191", "label", "upload", writeFile(dir, "l.txt", label(1200))});
  EXPECT_EQ(r.exitCode, 5) << r.err;
  EXPECT_EQ(r.out, "Error\n");
  EXPECT_NE(r.err.find("did not take the label"), std::string::npos) << r.err;

  // Refused before connecting: no simulator at this address.
  const CtlResult big =
      runCtl({"--host", "127.0.0.192", "label", "upload", writeFile(dir, "big.txt", label(65536))});
  EXPECT_EQ(big.exitCode, 4) << big.err;
  EXPECT_NE(big.err.find("65536 bytes"), std::string::npos) << big.err;
}

TEST(PeripheralsE2E, RejectTextsSetThenShow) {
  SimProcess sim("127.0.0.193");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString texts = writeFile(dir, "texts.txt",
                                  "ACIMA\r\nABAIXO\r\nNOREAD\r\nNOCAD\r\n"
                                  "JAAP\r\nNOPESO\r\nPARADA\r\n");
  const CtlResult set = runCtl({"--host", "127.0.0.193", "reject-texts", "set", texts});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  const CtlResult show = runCtl({"--host", "127.0.0.193", "reject-texts", "show"});
  EXPECT_EQ(show.exitCode, 0) << show.err;
  EXPECT_EQ(show.out, "1\tACIMA\n1\tABAIXO\n1\tNOREAD\n1\tNOCAD\n1\tJAAP\n1\tNOPESO\n1\tPARADA\n");

  const QString six = writeFile(dir, "six.txt", "a\nb\nc\nd\ne\nf\n");
  const CtlResult refused = runCtl({"--host", "127.0.0.193", "reject-texts", "set", six});
  EXPECT_EQ(refused.exitCode, 4) << refused.err;
  EXPECT_NE(refused.err.find("6 lines"), std::string::npos) << refused.err;
}

// The simulator writes every integrator message in two pieces; each request
// still reaches the stand-in once and is answered once, and request 82 starts
// the label upload that the simulator acknowledges.
TEST(PeripheralsE2E, IntegratorAnswersTheSimulatorsRequestsUnderSideSplit) {
  SimProcess sim("127.0.0.194", {"side-split"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString file = writeFile(dir, "label.txt", label(1200));
  CtlResult r;
  std::thread run([&r, &file] {
    r = runCtl({"--host", "127.0.0.194", "integrator", "--seconds", "9", "--label", file});
  });
  QThread::msleep(2000);  // the stand-in connects meanwhile
  for (const char* code : {"41", "84", "60", "82", "12"})
    sim.control(QStringLiteral("integrator send %1").arg(code));
  run.join();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string& out = r.out;
  auto count = [&out](const std::string& s) {
    size_t n = 0;
    for (size_t at = out.find(s); at != std::string::npos; at = out.find(s, at + 1)) ++n;
    return n;
  };
  for (const char* req :
       {" 49000 < 041\n", " 49000 < 084\n", " 49000 < 060\n", " 49000 < 082\n", " 49000 < 012\n"})
    EXPECT_EQ(count(req), 1u) << req << out;
  EXPECT_EQ(count(" 49000 > 084\\t1\\t100\\t102\\t8\n"), 1u) << out;
  EXPECT_EQ(count(" 49000 > 082<06>1\\t1\n"), 1u) << out;
  EXPECT_EQ(count(" 49000 > 543\\t0\\t"), 3u) << out;
  EXPECT_EQ(count(" 49000 > 544\\t0\\t1\\t"), 1u) << out;
  EXPECT_EQ(count(" 49000 < 544<06>1\\t1\n"), 1u) << out;
  EXPECT_EQ(out.find("BCC"), std::string::npos) << out;
}
