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
#include "test_files.h"

using namespace vantor::e2e;

namespace {

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

  // Lines the window would skip refuse the whole file: the reader's messages
  // on stdout, nothing written, not even the lines that would load.
  std::string changed = withLine(file, "\tPesoAlvo\t500", "\tPesoAlvo\t750");
  changed = withLine(changed, "\tContador\t-1", "\tContador\t-2");
  std::string refused = withLine(changed, "\tCapacidade\t6000", "\tCapacidade\t60001");
  refused = withLine(refused, "\tSrv49\t490", "\tSrv49\t4294967295");  // above its maximum
  writeFile(edited, refused);
  const CtlResult refusedLoad = ctl("127.0.0.101", {"params", "load", edited});
  EXPECT_EQ(refusedLoad.exitCode, 4) << refusedLoad.err;
  EXPECT_EQ(
      refusedLoad.out,
      "Version OK\n0 Pesagem\n11 out of range->> Capacidade 60001\n1 Rejeito\n2 Etiquetadora\n"
      "3 Comunicacao\n4 Reserva\n5 Limites\n6 Servico\n49 out of range->> Srv49 4294967295\n");
  EXPECT_EQ(refusedLoad.err, "vantorctl: " + edited.toStdString() +
                                 ": 2 lines would not load, the first: 11 out of range->> "
                                 "Capacidade 60001; nothing written\n");
  ASSERT_EQ(ctl("127.0.0.101", {"params", "save", again}).exitCode, 0);
  EXPECT_EQ(readFile(again), file);

  writeFile(edited, changed);
  const CtlResult load = ctl("127.0.0.101", {"params", "load", edited});
  ASSERT_EQ(load.exitCode, 0) << load.err;
  EXPECT_EQ(load.out,
            "Version OK\n0 Pesagem\n1 Rejeito\n2 Etiquetadora\n3 Comunicacao\n4 Reserva\n"
            "5 Limites\n6 Servico\n");
  EXPECT_EQ(load.err, "");

  // A fresh connection reads the device's tables: the file's values.
  ASSERT_EQ(ctl("127.0.0.101", {"params", "save", again}).exitCode, 0);
  EXPECT_EQ(readFile(again), changed);
  const CtlResult show = ctl("127.0.0.101", {"params", "show"});
  EXPECT_NE(show.out.find("\tContador\t4294967294\t"), std::string::npos);
}

// Each kind of line the window's reader reports and skips refuses the file.
TEST(ConfigE2E, AFileWithAnyLineThatWouldNotLoadWritesNothing) {
  SimProcess sim("127.0.0.120");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString saved = dir.filePath("tables.txt"), edited = dir.filePath("edited.txt"),
                after = dir.filePath("after.txt");
  ASSERT_EQ(ctl("127.0.0.120", {"params", "save", saved}).exitCode, 0);
  const std::string file = readFile(saved);
  struct Case {
    const char* line;
    const char* replacement;
    const char* message;  // the reader's message, on stdout and named on stderr
  } cases[] = {
      {"Rejeito", "Rejeitos", "1 not found->> Rejeitos"},
      {"\tPesoAlvo\t500", "\tPesoAlto\t500", "0 not found->> PesoAlto"},
      {"\tPesoAlvo\t500", "\tPesoAlvo\tquinhentos", "0 not a number->> PesoAlvo quinhentos"},
      {"\tPesoAlvo\t500", "\tPesoAlvo\t0", "0 out of range->> PesoAlvo 0"},
  };
  for (const Case& c : cases) {
    // A good edit beside the bad one: it is not written either.
    writeFile(edited,
              withLine(withLine(file, c.line, c.replacement), "\tContador\t-1", "\tContador\t-2"));
    const CtlResult r = ctl("127.0.0.120", {"params", "load", edited});
    EXPECT_EQ(r.exitCode, 4) << c.message << ": " << r.err;
    EXPECT_NE(r.out.find(std::string("\n") + c.message + "\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "vantorctl: " + edited.toStdString() + ": 1 line would not load, the first: " +
                         c.message + "; nothing written\n");
  }
  ASSERT_EQ(ctl("127.0.0.120", {"params", "save", after}).exitCode, 0);
  EXPECT_EQ(readFile(after), file);
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

// Split replies cost the sweep 40 ms an exchange, slow ones 40 ms as well;
// joined ones, held back for a partner that a request/reply sweep never sends,
// 300 ms, so they are left to the link's own tests. --timeout bounds the
// silence between two replies, not the whole command: a sweep that lasts
// several times as long goes on while its replies keep coming.
TEST(ConfigE2E, TablesReadThroughSplitGarbledAndSlowRepliesPastTheTimeout) {
  SimProcess plain("127.0.0.104");
  ASSERT_TRUE(plain.ready());
  const std::string expected = ctl("127.0.0.104", {"params", "show"}).out;
  ASSERT_FALSE(expected.empty());
  struct Case {
    const char* fault;
    const char* host;
    int64_t atLeastMs;
  } cases[] = {
      {"split", "127.0.0.105", 1500},
      {"garbage", "127.0.0.106", 0},
      {"slow:40", "127.0.0.107", 1500},
  };
  for (const Case& c : cases) {
    SimProcess sim(c.host, {c.fault});
    ASSERT_TRUE(sim.ready()) << c.fault;
    const CtlResult r = runCtl({"--host", c.host, "--timeout", "1.5", "params", "show"}, 30000);
    EXPECT_EQ(r.exitCode, 0) << c.fault << ": " << r.err;
    EXPECT_EQ(r.out, expected) << c.fault;
    EXPECT_EQ(r.err, "") << c.fault;
    EXPECT_GE(r.elapsedMs, c.atLeastMs) << c.fault << ": the run was no longer than --timeout";
  }
}

// A device that answers with bare ACKs leaves nothing to write: no backup of
// zeros, no table file, and the command says which reply was short.
TEST(ConfigE2E, ShortRepliesEndTheCommandAndWriteNoFile) {
  SimProcess sim("127.0.0.121", {"short"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString backup = dir.filePath("blocks.bin"), tables = dir.filePath("tables.txt");
  const QStringList commands[] = {{"blocks", "backup", backup}, {"params", "save", tables}};
  for (const QStringList& command : commands) {
    const CtlResult r = ctl("127.0.0.121", command);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(r.err, "vantorctl: short reply 51: 0 of 56 bytes\n");
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(QFileInfo::exists(backup));
  EXPECT_FALSE(QFileInfo::exists(tables));

  sim.control("clear");
  ASSERT_EQ(ctl("127.0.0.121", {"blocks", "backup", backup}).exitCode, 0);
  const std::string image = readFile(backup);
  EXPECT_EQ(image.size(), 340u);
  EXPECT_NE(image, std::string(340, '\0'));
}

// A backup of zeros only is what a device that answered without data left
// behind; restored, it would wipe the six blocks, so it takes --force.
TEST(ConfigE2E, ABackupOfZerosIsRestoredOnlyWithForce) {
  SimProcess sim("127.0.0.122");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString zeros = dir.filePath("zeros.bin"), before = dir.filePath("before.bin"),
                after = dir.filePath("after.bin");
  writeFile(zeros, std::string(340, '\0'));
  ASSERT_EQ(ctl("127.0.0.122", {"blocks", "backup", before}).exitCode, 0);

  const CtlResult refused = ctl("127.0.0.122", {"blocks", "restore", zeros});
  EXPECT_EQ(refused.exitCode, 4);
  EXPECT_EQ(refused.err, "vantorctl: " + zeros.toStdString() +
                             ": every byte is zero; restoring it would wipe the six blocks; "
                             "nothing written (--force writes it all the same)\n");
  ASSERT_EQ(ctl("127.0.0.122", {"blocks", "backup", after}).exitCode, 0);
  EXPECT_EQ(readFile(after), readFile(before));

  // One byte that is not zero makes it a backup like any other.
  std::string almost(340, '\0');
  almost[192] = 1;
  writeFile(after, almost);
  EXPECT_EQ(ctl("127.0.0.122", {"blocks", "restore", after}).exitCode, 0);
  const CtlResult forced = ctl("127.0.0.122", {"blocks", "restore", "--force", zeros});
  EXPECT_EQ(forced.exitCode, 0) << forced.err;
  ASSERT_EQ(ctl("127.0.0.122", {"blocks", "backup", after}).exitCode, 0);
  EXPECT_EQ(readFile(after), std::string(340, '\0'));
}

// Progress goes to stderr only when it is a terminal, as one line rewritten
// in place and taken away at the end; a pipe gets nothing extra.
TEST(ConfigE2E, LongCommandsShowProgressOnATerminalOnly) {
  SimProcess sim("127.0.0.123");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString tables = dir.filePath("tables.txt"), blocks = dir.filePath("blocks.bin");
  ASSERT_EQ(ctl("127.0.0.123", {"params", "save", tables}).exitCode, 0);
  ASSERT_EQ(ctl("127.0.0.123", {"blocks", "backup", blocks}).exitCode, 0);
  const std::string shown = ctl("127.0.0.123", {"params", "show"}).out;
  ASSERT_FALSE(shown.empty());

  struct Case {
    QStringList command;
    std::vector<std::string> steps;  // in this order, each as a line of its own
  } cases[] = {
      {{"params", "show"},
       {"Reading table 1 of 7, parameter 1 of 12", "Reading table 1 of 7, parameter 12 of 12",
        "Reading table 5 of 7", "Reading table 7 of 7, parameter 50 of 50"}},
      {{"params", "load", tables},
       {"Reading table 7 of 7, parameter 50 of 50", "Writing table 1 of 7", "Writing table 7 of 7",
        "Reading the table list", "Reading table 7 of 7, parameter 50 of 50"}},
      {{"blocks", "restore", blocks},
       {"Writing block 1 of 6 (CommBlock)", "Writing block 2 of 6 (ZeroBlock)",
        "Writing block 6 of 6 (SorterBlock)"}},
      {{"blocks", "backup", blocks},
       {"Reading block 1 of 6 (CommBlock)", "Reading block 6 of 6 (SorterBlock)"}},
  };
  for (const Case& c : cases) {
    const std::string what = c.command.join(' ').toStdString();
    const CtlResult onTerminal = runCtlOnTerminal(QStringList{"--host", "127.0.0.123"} + c.command);
    EXPECT_EQ(onTerminal.exitCode, 0) << what << ": " << onTerminal.err;
    size_t at = 0;
    for (const std::string& step : c.steps) {
      const size_t found = onTerminal.err.find("\r" + step + "\033[K", at);
      EXPECT_NE(found, std::string::npos) << what << ": " << step;
      if (found != std::string::npos) at = found;
    }
    EXPECT_TRUE(onTerminal.err.ends_with("\r\033[K")) << what << ": the line is taken away";
    EXPECT_EQ(onTerminal.err.find('\n'), std::string::npos) << what << ": " << onTerminal.err;

    const CtlResult onPipe = ctl("127.0.0.123", c.command);
    EXPECT_EQ(onPipe.exitCode, 0) << what;
    EXPECT_EQ(onPipe.err, "") << what;
    EXPECT_EQ(onPipe.out, onTerminal.out) << what;
  }
}

// The device stops answering in the middle of a sweep: the run ends after
// the one repeat of the request that went unanswered, not at --timeout, and
// on a terminal the progress line stays to say where it stopped.
TEST(ConfigE2E, ASweepWhoseRepliesStopEndsAtOnceAndSaysWhere) {
  SimProcess sim("127.0.0.124", {"slow:10"});
  ASSERT_TRUE(sim.ready());
  bool silenced = false;
  const CtlResult r = runCtlOnTerminal(
      {"--host", "127.0.0.124", "--timeout", "60", "--reply-timeout", "200", "params", "show"},
      [&](const std::string& err) {
        if (silenced || err.find("Reading table 3 of 7") == std::string::npos) return;
        sim.control("fault silent");
        silenced = true;
      });
  ASSERT_TRUE(silenced) << r.err;
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_TRUE(std::regex_search(
      r.err, std::regex("\rReading table [3-7] of 7 stopped: no reply to parameter [0-9]+"
                        "\x1B\\[K\r\nvantorctl: no reply to command 64 \\(sent twice, 200 "
                        "ms each\\)\r\n$")))
      << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_LT(r.elapsedMs, 20000);

  sim.control("clear");
  const CtlResult again = ctl("127.0.0.124", {"params", "show"});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.out.rfind("Pesagem\n", 0), 0u);
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
