// vantorctl's params and blocks commands against rw4000-sim over loopback:
// what the files hold, and that the device holds what a load or restore
// wrote. Each test has its own 127.0.0.N in 100..149.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <regex>
#include <string>
#include <vector>

#include "processes.h"

using namespace vantor::e2e;

namespace {

std::string readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

void writeFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Replaces one whole line of a table file (its CR LF kept).
std::string withLine(std::string file, const std::string& line, const std::string& replacement) {
  const size_t at = file.find("\r\n" + line + "\r\n");
  EXPECT_NE(at, std::string::npos) << line;
  if (at != std::string::npos) file.replace(at + 2, line.size(), replacement);
  return file;
}

CtlResult ctl(const char* host, QStringList args) {
  return runCtl(QStringList{"--host", host} + args);
}

}  // namespace

TEST(ConfigE2E, ParamsShowPrintsEveryTableWithItsLimitsAndTheEdges) {
  SimProcess sim("127.0.0.100");
  ASSERT_TRUE(sim.ready());
  const CtlResult r = ctl("127.0.0.100", {"params", "show"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> titles;
  size_t parameters = 0;
  for (size_t at = 0; at < r.out.size();) {
    const size_t end = r.out.find('\n', at);
    const std::string line = r.out.substr(at, end - at);
    at = end + 1;
    if (line.empty() || line[0] != '\t') {
      titles.push_back(line);
      continue;
    }
    ++parameters;
    EXPECT_TRUE(
        std::regex_match(line, std::regex("\t[^\t]+\t[0-9]+\t[^\t]*\t[0-9]+\t[0-9]+\t[0-9]+")))
        << line;
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Pesagem", "Rejeito", "Etiquetadora", "Comunicacao",
                                              "Reserva", "Limites", "Servico"}));
  EXPECT_EQ(parameters, 12u + 8 + 10 + 6 + 0 + 5 + 50);
  EXPECT_NE(r.out.find("\tPesoAlvo\t500\tg\t1\t50000\t500\n"), std::string::npos);
  EXPECT_NE(r.out.find("Reserva\nLimites\n\tContador\t4294967295\t\t0\t4294967295\t0\n"),
            std::string::npos);
}

TEST(ConfigE2E, SavedTablesEditedAndLoadedAreWhatTheDeviceReadsBack) {
  SimProcess sim("127.0.0.101");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString saved = dir.filePath("tables.txt"), edited = dir.filePath("edited.txt"),
                again = dir.filePath("again.txt");
  ASSERT_EQ(ctl("127.0.0.101", {"params", "save", saved}).exitCode, 0);
  const std::string file = readFile(saved);
  EXPECT_EQ(file.rfind(" RW4000 SIM 8.10\tIP:127.0.0.101\r\n\r\nPesagem\r\n\tPesoAlvo\t500\r\n", 0),
            0u);
  EXPECT_NE(
      file.find("\r\n\r\nReserva\r\n\r\nLimites\r\n\tContador\t-1\r\n\tDeslocamento\t-100\r\n"),
      std::string::npos);
  EXPECT_EQ(std::regex_search(file, std::regex("[^\r]\n")), false) << "every line ends in CR LF";

  std::string changed = withLine(file, "\tPesoAlvo\t500", "\tPesoAlvo\t750");
  changed = withLine(changed, "\tContador\t-1", "\tContador\t-2");
  changed = withLine(changed, "\tCapacidade\t6000", "\tCapacidade\t60001");  // above its maximum
  changed = withLine(changed, "\tSrv49\t490", "\tSrv49\t4294967295");        // above its maximum
  writeFile(edited, changed);
  const CtlResult load = ctl("127.0.0.101", {"params", "load", edited});
  ASSERT_EQ(load.exitCode, 0) << load.err;
  EXPECT_EQ(
      load.out,
      "Version OK\n0 Pesagem\n11 out of range->> Capacidade 60001\n1 Rejeito\n2 Etiquetadora\n"
      "3 Comunicacao\n4 Reserva\n5 Limites\n6 Servico\n49 out of range->> Srv49 4294967295\n");

  // A fresh connection reads the device's tables: the file's values, the refused ones unchanged.
  ASSERT_EQ(ctl("127.0.0.101", {"params", "save", again}).exitCode, 0);
  std::string expected = withLine(file, "\tPesoAlvo\t500", "\tPesoAlvo\t750");
  expected = withLine(expected, "\tContador\t-1", "\tContador\t-2");
  EXPECT_EQ(readFile(again), expected);
  const CtlResult show = ctl("127.0.0.101", {"params", "show"});
  EXPECT_NE(show.out.find("\tContador\t4294967294\t"), std::string::npos);
}

TEST(ConfigE2E, AFileOfAnotherDeviceIsRefusedAndNothingIsWritten) {
  SimProcess sim("127.0.0.102");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString path = dir.filePath("other.txt");
  const CtlResult before = ctl("127.0.0.102", {"params", "show"});
  ASSERT_EQ(before.exitCode, 0);
  writeFile(path, " RW4000 SIM 9.00\tIP:127.0.0.102\r\n\r\nPesagem\r\n\tPesoAlvo\t900\r\n");
  const CtlResult load = ctl("127.0.0.102", {"params", "load", path});
  EXPECT_EQ(load.exitCode, 4);
  EXPECT_EQ(load.out, "Invalid File\n");
  EXPECT_NE(load.err.find("other.txt: Invalid File; nothing written"), std::string::npos)
      << load.err;
  EXPECT_EQ(ctl("127.0.0.102", {"params", "show"}).out, before.out);

  const CtlResult missing = ctl("127.0.0.102", {"params", "load", dir.filePath("none.txt")});
  EXPECT_EQ(missing.exitCode, 4);
  EXPECT_NE(missing.err.find("Cannot open "), std::string::npos) << missing.err;
  const CtlResult unwritable = ctl("127.0.0.102", {"params", "save", dir.filePath("no/dir.txt")});
  EXPECT_EQ(unwritable.exitCode, 4);
  EXPECT_NE(unwritable.err.find("Cannot create "), std::string::npos) << unwritable.err;
}

TEST(ConfigE2E, BlocksBackupAndRestoreRoundTripThroughTheDevice) {
  SimProcess sim("127.0.0.103");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString first = dir.filePath("first.bin"), edited = dir.filePath("edited.bin"),
                again = dir.filePath("again.bin");
  ASSERT_EQ(ctl("127.0.0.103", {"blocks", "backup", first}).exitCode, 0);
  const std::string image = readFile(first);
  ASSERT_EQ(image.size(), 340u);
  EXPECT_EQ(image.substr(0, 4), std::string("\x02\0\0\0", 4));  // CommBlock HBMPort
  EXPECT_EQ(image.substr(48 + 24, 8),
            std::string("\x01\0\xA5\xA5\x02\0\x5A\x5A", 8));  // ZeroBlock's hidden words
  EXPECT_EQ(image.substr(152 + 36, 4), std::string("\xFF\xFF\xFF\xFF", 4));  // Ad104Block Offset
  EXPECT_EQ(image.substr(192, 4), std::string("\x01\0\0\0", 4));             // SysBlock Lingua

  std::string changed = image;
  changed[192] = 2;            // Lingua
  changed[48 + 24] = 9;        // a hidden zero word travels too
  changed[312 + 24] = '\x7F';  // the last sorter value
  writeFile(edited, changed);
  ASSERT_EQ(ctl("127.0.0.103", {"blocks", "restore", edited}).exitCode, 0);
  ASSERT_EQ(ctl("127.0.0.103", {"blocks", "backup", again}).exitCode, 0);
  EXPECT_EQ(readFile(again), changed);

  writeFile(edited, image.substr(0, 339));
  const CtlResult shortFile = ctl("127.0.0.103", {"blocks", "restore", edited});
  EXPECT_EQ(shortFile.exitCode, 4);
  EXPECT_NE(shortFile.err.find("is not a block backup: 339 bytes instead of 340; nothing loaded"),
            std::string::npos)
      << shortFile.err;
  ASSERT_EQ(ctl("127.0.0.103", {"blocks", "backup", again}).exitCode, 0);
  EXPECT_EQ(readFile(again), changed);
}

// Split replies cost the sweep 40 ms an exchange; joined ones, held back for
// a partner that a request/reply sweep never sends, 300 ms, so they are left
// to the link's own tests.
TEST(ConfigE2E, TablesReadThroughSplitAndGarbledReplies) {
  SimProcess plain("127.0.0.104");
  ASSERT_TRUE(plain.ready());
  const std::string expected = ctl("127.0.0.104", {"params", "show"}).out;
  ASSERT_FALSE(expected.empty());
  const char* faults[] = {"split", "garbage"};
  int n = 105;
  for (const char* fault : faults) {
    const std::string host = "127.0.0." + std::to_string(n++);
    SimProcess sim(QString::fromStdString(host), {fault});
    ASSERT_TRUE(sim.ready()) << fault;
    const CtlResult r = runCtl(
        {"--host", QString::fromStdString(host), "--timeout", "20", "params", "show"}, 30000);
    EXPECT_EQ(r.exitCode, 0) << fault << ": " << r.err;
    EXPECT_EQ(r.out, expected) << fault;
  }
}

TEST(ConfigE2E, ParamsAndBlocksUsageErrorsExitWithTwo) {
  struct Case {
    QStringList args;
    const char* message;
  } cases[] = {
      {{"params"}, "A subcommand is required"},
      {{"params", "save"}, "FILE is required"},
      {{"params", "show", "x"}, "not expected: x"},
      {{"params", "frob", "x"}, "A subcommand is required"},
      {{"blocks"}, "A subcommand is required"},
      {{"blocks", "backup"}, "FILE is required"},
      {{"blocks", "restore", "a", "b"}, "not expected: b"},
  };
  for (const Case& c : cases) {
    const std::string args = c.args.join(' ').toStdString();
    const CtlResult r = ctl("127.0.0.110", c.args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << args << ": " << r.err;
  }
}

namespace {

// An input file that params load or blocks restore cannot use.
struct BadInput {
  const char* command;
  const char* action;
  QString path;
  const char* message;  // beside the file's path
};

// Each file ends its command with exit code 4, "vantorctl: " and a reason
// naming the file, and nothing on stdout: against the simulator at simHost,
// whose tables and blocks are unchanged afterwards, and where nothing listens
// (silentHost), where a command that connected first would end with exit
// code 1 instead. A file must never hold a command up for long.
void expectRefusedBeforeConnecting(const char* simHost, const char* silentHost,
                                   const std::vector<BadInput>& cases) {
  SimProcess sim(simHost);
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString tablesBefore = dir.filePath("tables.txt"),
                blocksBefore = dir.filePath("blocks.bin");
  ASSERT_EQ(ctl(simHost, {"params", "save", tablesBefore}).exitCode, 0);
  ASSERT_EQ(ctl(simHost, {"blocks", "backup", blocksBefore}).exitCode, 0);

  for (const char* host : {simHost, silentHost}) {
    for (const BadInput& c : cases) {
      const std::string what = std::string(host) + " " + c.command + " " + c.action + " " +
                               QFileInfo(c.path).fileName().toStdString();
      const CtlResult r =
          runCtl({"--host", host, "--timeout", "5", c.command, c.action, c.path}, 3000);
      EXPECT_EQ(r.exitCode, 4) << what << ": " << r.err;
      EXPECT_EQ(r.err.rfind("vantorctl: ", 0), 0u) << what << ": " << r.err;
      EXPECT_NE(r.err.find(c.path.toStdString()), std::string::npos) << what << ": " << r.err;
      EXPECT_NE(r.err.find(c.message), std::string::npos) << what << ": " << r.err;
      EXPECT_EQ(r.out, "") << what;
    }
  }

  const QString tablesAfter = dir.filePath("tables-after.txt"),
                blocksAfter = dir.filePath("blocks-after.bin");
  ASSERT_EQ(ctl(simHost, {"params", "save", tablesAfter}).exitCode, 0);
  ASSERT_EQ(ctl(simHost, {"blocks", "backup", blocksAfter}).exitCode, 0);
  EXPECT_EQ(readFile(tablesAfter), readFile(tablesBefore));
  EXPECT_EQ(readFile(blocksAfter), readFile(blocksBefore));
  EXPECT_EQ(readFile(blocksAfter).size(), 340u);
}

}  // namespace

TEST(ConfigE2E, EmptyMissingAndFolderInputsAreRefusedBeforeConnecting) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString empty = dir.filePath("empty"), folder = dir.filePath("folder"),
                missing = dir.filePath("missing");
  writeFile(empty, "");
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  expectRefusedBeforeConnecting(
      "127.0.0.111", "127.0.0.112",
      {
          {"params", "load", empty, ": the file is empty; nothing written"},
          {"blocks", "restore", empty,
           " is not a block backup: 0 bytes instead of 340; nothing loaded"},
          {"params", "load", missing, "Cannot open "},
          {"blocks", "restore", missing, "Cannot open "},
          {"params", "load", folder, ""},
          {"blocks", "restore", folder, ""},
      });
}

// A FIFO without a writer would hold a plain open forever: it is refused at
// once as a file that is not a regular file.
TEST(ConfigE2E, AFifoInputIsRefusedAtOnceBeforeConnecting) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fifo = dir.filePath("fifo");
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  expectRefusedBeforeConnecting("127.0.0.113", "127.0.0.114",
                                {
                                    {"params", "load", fifo, ""},
                                    {"blocks", "restore", fifo, ""},
                                });
}
