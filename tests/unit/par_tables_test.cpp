#include <gtest/gtest.h>

#include "config/cell_value.h"
#include "par_tables_fixture.h"

using namespace vantor;
using namespace vantor::test;

using ParTablesTest = ParTablesFixture;
using Rows = std::vector<std::pair<int, int>>;
using Texts = std::vector<std::string>;

TEST_F(ParTablesTest, ReadAllAsksRowZeroOfEveryTableThenShowsTableZero) {
  connectMain();
  device.channel.clearQueue();
  tables().GetAllParClick();
  EXPECT_EQ(page().progress, "Reading the table list");
  EXPECT_TRUE(tables().busy());
  // Serve one exchange at a time to see the progress text after each reply.
  device.channel.sendNextCmd();
  Texts progress;
  while (!lan2().writes.empty()) {
    FakeSocket& s = lan2();
    Bytes request = s.writes.front();
    s.writes.erase(s.writes.begin());
    const int code = request.at(7);
    dev.requests.emplace_back(code, Bytes(request.begin() + 8, request.end() - 3));
    s.receive(replyFrame(
        code, code == 62 ? dev.tableList() : dev.descriptor(request.at(8), request.at(9))));
    progress.push_back(page().progress);
  }
  EXPECT_EQ(dev.requestCodes(), (std::vector<int>{62, 64, 64, 64, 64, 64, 64, 64, 64}));
  EXPECT_EQ(dev.descriptorRequests(),
            (Rows{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 0}, {2, 0}, {2, 1}}));
  EXPECT_EQ(
      progress,
      (Texts{"Reading table 1 of 3, parameter 1 of 5", "Reading table 1 of 3, parameter 2 of 5",
             "Reading table 1 of 3, parameter 3 of 5", "Reading table 1 of 3, parameter 4 of 5",
             "Reading table 1 of 3, parameter 5 of 5", "Reading table 2 of 3",
             "Reading table 3 of 3, parameter 1 of 2", "Reading table 3 of 3, parameter 2 of 2",
             ""}));
  EXPECT_FALSE(tables().busy());
  EXPECT_TRUE(device.tablesLoaded);
  EXPECT_EQ(page().listTabs, (Texts{"Pesagem", "Vazia", "Servico"}));
  EXPECT_EQ(page().listTabsIndex, 0);
  EXPECT_TRUE(page().panelSaveVisible);
  EXPECT_TRUE(page().groupFileVisible);
  ASSERT_EQ(page().gridParTabs.size(), 5u);
  EXPECT_EQ(page().gridParTabs[2].name, "Maximo");
  EXPECT_EQ(cells(), (Texts{"500", "7", "4294967295", "3", "250"}));
  EXPECT_EQ(page().gridHint, "Pesagem");
  EXPECT_EQ(page().labelTabSgn, "OPERATIONAL USER");
  EXPECT_EQ(page().helpPar, "peso alvo");
  EXPECT_EQ(page().rangePar, "DEF: 500 g [10 - 5000]");
}

TEST_F(ParTablesTest, HelpAndRangeShowTheSelectedRowWithSignedNumbers) {
  readAll();
  struct Case {
    int row;
    const char* help;
    const char* range;
  } cases[] = {{2, "maximo absoluto", "DEF: -1 g [0 - -1]"},
               {3, "filtro", "DEF: 12  [1 - 9]"},
               {4, "atraso", "DEF: 100 ms [0 - 1000]"}};
  for (const Case& c : cases) {
    tables().GridParTabsSelectCell(c.row);
    EXPECT_EQ(page().helpPar, c.help);
    EXPECT_EQ(page().rangePar, c.range);
  }
  tables().ListTabsChange(2);
  EXPECT_EQ(page().gridHint, "Servico");
  EXPECT_EQ(page().gridRow, 1);  // the grid's row follows its smaller row count
  EXPECT_EQ(page().helpPar, "senha");
  tables().ListTabsChange(1);  // an empty table: no row to describe
  EXPECT_TRUE(page().gridParTabs.empty());
  EXPECT_EQ(page().helpPar, "");
  EXPECT_EQ(page().rangePar, "");
}

TEST_F(ParTablesTest, SaveTabRevertsCellsOutsideTheLimitsAndWritesTheWholeTable) {
  readAll();
  page().gridParTabs[0].value = "9";           // below min 10: reverts to 500
  page().gridParTabs[1].value = " 50 ";        // the max itself, blanks around
  page().gridParTabs[2].value = "-1";          // all bits: 4294967295, within 0 .. 4294967295
  page().gridParTabs[3].value = "10";          // above max 9: reverts to 3
  page().gridParTabs[4].value = "4294967295";  // above max 1000: reverts to 250
  tables().SaveParClick();
  EXPECT_EQ(cells(), (Texts{"500", " 50 ", "-1", "3", "250"}));
  serve();
  ASSERT_EQ(dev.requests.size(), 1u);
  EXPECT_EQ(dev.requests[0].first, 63);
  EXPECT_EQ(dev.requests[0].second,
            hex("00 F4 01 00 00 32 00 00 00 FF FF FF FF 03 00 00 00 FA 00 00 00"));
  EXPECT_EQ(tables().store().table(0).params[1].value, 50u);
}

TEST_F(ParTablesTest, ACellThatIsNoNumberStopsSaveTabWithTheConversionError) {
  readAll();
  page().gridParTabs[0].value = "600";
  page().gridParTabs[1].value = "99";  // out of limits, reverted before the bad cell
  page().gridParTabs[2].value = "1e3";
  page().gridParTabs[3].value = "4";
  try {
    tables().SaveParClick();
    FAIL() << "no conversion error";
  } catch (const CellConversionError& e) {
    EXPECT_STREQ(e.what(), "'1e3' is not a valid integer value");
  }
  const ParTable& t = tables().store().table(0);
  EXPECT_EQ(t.params[0].value, 600u);  // the rows before it keep what they stored
  EXPECT_EQ(page().gridParTabs[1].value, "7");
  EXPECT_EQ(t.params[3].value, 3u);  // the rows after it are untouched
  EXPECT_EQ(device.channel.queue().size(), 0u);
}

TEST_F(ParTablesTest, SaveDefTakesEachDefaultInsideItsLimitsAndRewritesTheGrid) {
  readAll();
  page().gridParTabs[4].value = "777";  // an unsaved edit is overwritten
  tables().SaveDefClick();
  EXPECT_EQ(cells(), (Texts{"500", "5", "4294967295", "3", "100"}));
  serve();
  EXPECT_EQ(dev.tableWrites(), std::vector<int>{0});  // a single write: no sweep
  EXPECT_EQ(dev.tables[0].params[3].value, 3u);       // default 12 lies outside 1 .. 9
  EXPECT_EQ(dev.tables[0].params[4].value, 100u);
}

TEST_F(ParTablesTest, SaveAllDefWritesEveryTableInTurnThenReadsEverythingAgain) {
  readAll();
  tables().SaveAllDefClick();
  EXPECT_EQ(page().progress, "Writing table 1 of 3");
  serve();
  EXPECT_EQ(dev.requestCodes(), (std::vector<int>{63, 63, 63, 62, 64, 64, 64, 64, 64, 64, 64, 64}));
  EXPECT_EQ(dev.tableWrites(), (std::vector<int>{0, 1, 2}));
  // Every default unchecked, the one outside its limits too, and the re-read shows them.
  EXPECT_EQ(dev.tables[0].params[3].value, 12u);
  EXPECT_EQ(dev.tables[2].params[1].value, 0u);
  EXPECT_EQ(cells(), (Texts{"500", "5", "4294967295", "12", "100"}));
  EXPECT_EQ(page().listTabsIndex, 0);
  EXPECT_FALSE(tables().busy());
}

TEST_F(ParTablesTest, WritingATableNeedsTheLevelAboveTheTablesLevel) {
  readAll();
  struct Case {
    int table;
    uint8_t access;
    const char* label;
    bool enabled;
  } cases[] = {{0, 0, "OPERATIONAL USER", false}, {0, 1, "OPERATIONAL USER", true},
               {1, 1, "MAINTENANCE USER", false}, {1, 2, "MAINTENANCE USER", true},
               {2, 2, "SERVICE USER", false},     {2, 3, "SERVICE USER", true},
               {2, 4, "SERVICE USER", true}};
  for (const Case& c : cases) {
    tables().ListTabsChange(c.table);
    access = c.access;
    tables().accessLevelChanged();
    EXPECT_EQ(page().labelTabSgn, c.label) << c.table;
    EXPECT_EQ(page().saveParEnabled, c.enabled) << c.table << " at " << int(c.access);
  }
}

TEST_F(ParTablesTest, ReadTabReadsTheSelectedTableOnlyAndNeedsASelection) {
  readAll();
  dev.tables[2].params[0].value = 3;
  tables().ListTabsChange(2);
  tables().GetTabClick();
  serve();
  EXPECT_EQ(dev.descriptorRequests(), (Rows{{2, 0}, {2, 1}}));
  EXPECT_EQ(cells(), (Texts{"3", "123"}));
  EXPECT_EQ(page().gridHint, "Servico");

  page().listTabsIndex = -1;
  tables().GetTabClick();
  EXPECT_EQ(device.channel.queue().size(), 0u);
}

TEST_F(ParTablesTest, DeviceThatAnnouncesMoreThanTheStoreHoldsIsClampedToItsLimits) {
  dev.nameWidth = 40;
  dev.helpWidth = 230;
  dev.codeWidth = 12;
  dev.codes = {"abcdefghijkl", "", "x"};
  dev.tables.clear();
  for (int t = 0; t < 12; ++t) dev.tables.push_back({"Table" + std::to_string(t), 7, {}});
  for (int r = 0; r < 60; ++r)
    dev.tables[9].params.push_back({std::string(35, char('A' + r % 26)), std::string(220, 'h'),
                                    "kg", 1, 9, 2, static_cast<uint32_t>(r % 9 + 1)});
  std::array<std::string, 3> codes;
  tables().onAccessCodes = [&](const std::array<std::string, 3>& c) { codes = c; };
  const Rows asked = readAll();
  const ParTableStore& s = tables().store();
  EXPECT_EQ(s.tableCount(), 10u);
  EXPECT_EQ(page().listTabs.size(), 10u);
  EXPECT_EQ(s.table(9).paramCount, 50);
  EXPECT_EQ(s.table(9).level, 3);
  EXPECT_EQ(codes, (std::array<std::string, 3>{"abcdefghi", "", "x"}));
  EXPECT_EQ(s.accessCodes(), codes);
  ASSERT_EQ(asked.size(), 9u + 50u);
  EXPECT_EQ(asked.back(), (std::pair<int, int>{9, 49}));
  const ParDescriptor& d = s.table(9).params[49];
  EXPECT_EQ(d.name, std::string(29, char('A' + 49 % 26)));
  EXPECT_EQ(d.help, std::string(199, 'h'));
  EXPECT_EQ(d.unit, "kg");  // the numbers come from the announced offsets
  EXPECT_EQ(d.min, 1u);
  EXPECT_EQ(d.max, 9u);
  EXPECT_EQ(d.def, 2u);
  EXPECT_EQ(d.value, 49u % 9 + 1);
  EXPECT_EQ(shell().errorBar[1], "");
}

TEST_F(ParTablesTest, ShortDescriptorReadsMissingBytesAsZeroAndTheSweepGoesOn) {
  dev.tables[0].params[0].def = 0x00070001;
  connectMain();
  device.channel.clearQueue();
  tables().GetAllParClick();
  device.channel.sendNextCmd();
  lan2().takeWrite();
  lan2().receive(replyFrame(62, dev.tableList()));
  lan2().takeWrite();
  Bytes shortOne = dev.descriptor(0, 0);
  shortOne.resize(shortOne.size() - 6);  // default cut in half, value missing
  lan2().receive(replyFrame(64, shortOne));
  EXPECT_EQ(shell().errorBar[1], "Short reply 64: 243 of 249 bytes");
  EXPECT_EQ(tables().store().table(0).params[0].max, 5000u);
  EXPECT_EQ(tables().store().table(0).params[0].def, 0x0001u);  // its high half did not arrive
  EXPECT_EQ(tables().store().table(0).params[0].value, 0u);
  ASSERT_EQ(lan2().writes.size(), 1u);
  EXPECT_EQ(lan2().writes[0].at(7), 64);
  EXPECT_EQ(lan2().writes[0].at(9), 1);  // row 1 next
}

TEST_F(ParTablesTest, DisconnectHidesTheSavePanelsAndEndsTheLoadedState) {
  readAll();
  tables().SaveAllDefClick();
  device.channel.sendNextCmd();
  lan2().takeWrite();  // table 0 in flight when the link ends
  lan2().close();
  EXPECT_FALSE(device.tablesLoaded);
  EXPECT_FALSE(page().panelSaveVisible);
  EXPECT_FALSE(page().groupFileVisible);
  EXPECT_FALSE(tables().busy());
  EXPECT_EQ(page().progress, "");
  // The store keeps its contents, but nothing is shown or saved until the next list.
  EXPECT_EQ(tables().store().table(0).params[0].name, "Alvo");
  page().gridParTabs.clear();
  tables().ListTabsChange(0);
  EXPECT_TRUE(page().gridParTabs.empty());
  tables().SaveParClick();
  EXPECT_EQ(device.channel.queue().size(), 0u);
}

TEST_F(ParTablesTest, AReconnectDoesNotResumeAnAbandonedSaveAllSweep) {
  readAll();
  tables().SaveAllDefClick();
  device.channel.sendNextCmd();
  lan2().takeWrite();
  lan2().close();
  connectMain();
  ask(62, dev.tableList());  // as the version reply would
  dev.serve(lan2());
  dev.requests.clear();
  tables().ListTabsChange(1);
  tables().SaveDefClick();  // one table; its reply must not start writing the next
  serve();
  EXPECT_EQ(dev.tableWrites(), std::vector<int>{1});
  EXPECT_EQ(dev.requestCodes(), std::vector<int>{63});
}

// A read clicked while the link is down queues nothing and leaves no progress
// text or busy state standing until some later reply.
TEST_F(ParTablesTest, ReadsClickedWhileTheLinkIsDownSayNotConnectedAndLeaveNothingBusy) {
  readAll();
  page().listTabsIndex = 0;
  lan2().fail();
  for (auto click : {&ParTables::GetAllParClick, &ParTables::GetTabClick}) {
    device.channel.clearQueue();
    (tables().*click)();
    EXPECT_EQ(page().progress, "not connected");
    EXPECT_FALSE(tables().busy());
    EXPECT_EQ(device.channel.queue().size(), 0u);
  }
  // Once connected again a read runs as usual.
  reconnect().fire();
  lan2().connect();
  device.channel.clearQueue();
  tables().GetAllParClick();
  EXPECT_EQ(page().progress, "Reading the table list");
  EXPECT_TRUE(tables().busy());
}

// A device that loses a reply in the middle of a sweep: the descriptor is asked
// for once more, and a second silence stops the sweep with its place named; a
// refused table write stops the save-all chain the same way.
TEST_F(ParTablesTest, ASweepWhoseReplyIsLostStopsAndSaysWhere) {
  connectMain();
  tables().GetAllParClick();
  device.channel.sendNextCmd();
  dev.serve(lan2(), 3);  // the list and two descriptors, then the device goes quiet
  EXPECT_EQ(sentCodes(), std::vector<int>{64});
  silence();
  EXPECT_EQ(sentCodes(), std::vector<int>{64});  // asked once more
  silence();
  EXPECT_EQ(page().progress, "Reading table 1 of 3 stopped: no reply to parameter 3");
  EXPECT_FALSE(tables().busy());
  EXPECT_EQ(shell().errorBar[1], "No reply to command 64");

  readAll();
  tables().SaveAllDefClick();
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{63});
  lan2().receive(replyFrame(63, {}, 7, 0x15));  // NAK
  EXPECT_EQ(page().progress, "Writing table 1 of 3 stopped: refused");
  EXPECT_FALSE(tables().busy());
  device.channel.sendNextCmd();
  EXPECT_TRUE(sentCodes().empty());  // the chain does not go on
}

// The page says what a save wrote, which typed values went back and why, and
// that the values shown are not current once the link has ended, until they
// are read from the device connected then.
TEST_F(ParTablesTest, ThePageSaysWhatWasWrittenWhatWasKeptAndWhenValuesAreNotCurrent) {
  readAll();
  EXPECT_TRUE(page().current);
  page().listTabsIndex = 0;
  tables().showTable(0);
  page().gridParTabs[1].value = "55";  // Tolerancia: 0 .. 50
  page().gridParTabs[3].value = "10";  // Filtro: 1 .. 9
  tables().SaveParClick();
  EXPECT_EQ(page().message, "Tolerancia: 55 is outside 0 .. 50; kept 7 (and 1 more cells kept)");
  EXPECT_EQ(page().gridParTabs[1].value, "7");
  serve();
  EXPECT_EQ(page().message, "Table Pesagem written: 5 values");

  tables().SaveAllDefClick();
  serve();
  EXPECT_EQ(page().message, "3 tables written");

  lan2().fail();
  EXPECT_FALSE(page().current);
  EXPECT_EQ(page().message, ParTables::kNotCurrent);
  EXPECT_FALSE(device.configBlocks.controls.current[0]);
  EXPECT_FALSE(device.liveStatus.fields().current);
  readAll();  // another connection: current only once read again
  EXPECT_TRUE(page().current);
  EXPECT_EQ(page().message, "");
}

// "Read All" clicked twice while the automatic read runs: each descriptor is
// stored at its own row, because a request goes out only when the last reply
// has come.
TEST_F(ParTablesTest, ReadAllClickedDuringTheAutomaticReadStoresEveryDescriptorAtItsRow) {
  connectMain();
  tables().GetAllParClick();  // as a model's version reply does
  device.channel.sendNextCmd();
  dev.serve(lan2(), 3);  // the list and two descriptors so far
  tables().GetAllParClick();
  tables().GetAllParClick();
  dev.serve(lan2());
  EXPECT_FALSE(tables().busy());
  for (size_t t = 0; t < dev.tables.size(); ++t)
    for (size_t r = 0; r < dev.tables[t].params.size(); ++r) {
      EXPECT_EQ(tables().store().table(t).params[r].name, dev.tables[t].params[r].name)
          << t << "/" << r;
      EXPECT_EQ(tables().store().table(t).params[r].value, dev.tables[t].params[r].value)
          << t << "/" << r;
    }
}
