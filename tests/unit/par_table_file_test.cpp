#include "config/par_table_file.h"

#include <gtest/gtest.h>

#include "par_tables_fixture.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

namespace {

using Texts = std::vector<std::string>;

const std::string kSaved =
    " RW4000 8.10\tIP:127.0.0.9\r\n"
    "\r\nPesagem\r\n"
    "\tAlvo\t500\r\n\tTolerancia\t7\r\n\tMaximo\t-1\r\n\tFiltro\t3\r\n\tAtraso\t250\r\n"
    "\r\nVazia\r\n"
    "\r\nServico\r\n"
    "\tModo\t2\r\n\tSenha\t123\r\n";

struct ParFileTest : ParTablesFixture {
  TempDir dir;
  ParTableFileGroup& group() { return device.parTableFile; }
  ParFileControls& box() { return device.parTableFile.controls; }
  uint32_t value(size_t t, size_t r) { return tables().store().table(t).params[r].value; }
  void setAll(uint32_t v) {
    for (size_t t = 0; t < 3; ++t)
      for (auto& d : tables().store().table(t).params) d.value = v;
  }
  // The device's version reply, which the files are identified by.
  void version(const std::string& text) {
    ask(70, Bytes(text.begin(), text.end()));
    dev.serve(lan2());  // the table list that a model's version asks for, and its sweep
    dev.requests.clear();
  }
  ParFileTest() {
    readAll();
    version(" RW4000 8.10");
  }
};

}  // namespace

TEST_F(ParFileTest, SaveFileWritesNamesAndSignedValuesWithCrLf) {
  const std::string path = dir.file("tables.txt");
  ASSERT_TRUE(group().SaveFileAllClick(path));
  EXPECT_EQ(readWhole(path), kSaved);
  EXPECT_TRUE(box().memo7.empty());
}

TEST_F(ParFileTest, ASavedFileReadsBackOnTheSameDevice) {
  const std::string path = dir.file("tables.txt");
  ASSERT_TRUE(group().SaveFileAllClick(path));
  setAll(1);
  page().gridParTabs[0].value = "1";
  EXPECT_TRUE(group().ReadFileParClick(path));
  EXPECT_EQ(box().memo7, (Texts{"Version OK", "0 Pesagem", "1 Vazia", "2 Servico"}));
  EXPECT_TRUE(box().saveAllParEnabled);
  EXPECT_EQ(value(0, 0), 500u);
  EXPECT_EQ(value(0, 2), 4294967295u);  // written as -1, the same 32 bits come back
  EXPECT_EQ(value(2, 1), 123u);
  EXPECT_EQ(cells(),
            (Texts{"500", "7", "4294967295", "3", "250"}));  // the selected table shown again
  EXPECT_EQ(device.channel.queue().size(), 0u);              // nothing goes to the device
}

TEST_F(ParFileTest, EachLineIsCheckedByPositionNameAndLimits) {
  const std::string head = " RW4000 8.10\tIP:127.0.0.8\r\n\r\nPesagem\r\n";
  struct Case {
    const char* what;
    std::string file;
    Texts memo;
    std::vector<uint32_t> table0;  // values of table 0 afterwards; all start at 1
  } cases[] = {
      {"loaded",
       head + "\tAlvo\t600\r\n\tTolerancia\t 8\r\n",
       {"Version OK", "0 Pesagem"},
       {600, 8, 1, 1, 1}},
      {"renamed parameter",
       head + "\tAlvoX\t600\r\n\tTolerancia\t8\r\n",
       {"Version OK", "0 Pesagem", "0 not found->> AlvoX"},
       {1, 8, 1, 1, 1}},
      {"inserted line shifts the rest",
       head + "\tNovo\t5\r\n\tAlvo\t600\r\n",
       {"Version OK", "0 Pesagem", "0 not found->> Novo", "1 not found->> Alvo"},
       {1, 1, 1, 1, 1}},
      {"no number",
       head + "\tAlvo\tabc\r\n\tTolerancia\t\r\n\tMaximo\t12x\r\n",
       {"Version OK", "0 Pesagem", "0 not a number->> Alvo abc", "1 not a number->> Tolerancia ",
        "2 not a number->> Maximo 12x"},
       {1, 1, 1, 1, 1}},
      {"out of limits",
       head + "\tAlvo\t9\r\n\tTolerancia\t51\r\n\tMaximo\t-1\r\n\tFiltro\t4294967296\r\n",
       {"Version OK", "0 Pesagem", "0 out of range->> Alvo 9", "1 out of range->> Tolerancia 51",
        "3 not a number->> Filtro 4294967296"},
       {1, 1, 4294967295u, 1, 1}},
      {"other title still loads",
       " RW4000 8.10\tIP:x\r\n\r\nWeighing\r\n\tAlvo\t600\r\n",
       {"Version OK", "0 not found->> Weighing"},
       {600, 1, 1, 1, 1}},
      {"lines of 0, 2, 4 fields and early parameters ignored",
       " RW4000 "
       "8."
       "10\r\n\tAlvo\t700\r\n\r\nPesagem\r\nAlvo\t600\r\n\tAlvo\t600\tx\r\n\t\t\r\n\tAlvo\t650\r\n",
       {"Version OK", "0 Pesagem", "0 not found->> ", "1 not found->> Alvo"},
       {1, 1, 1, 1, 1}},
      {"LF line ends and no end on the last line",
       " RW4000 8.10\n\nPesagem\n\tAlvo\t600\n\tTolerancia\t9",
       {"Version OK", "0 Pesagem"},
       {600, 9, 1, 1, 1}},
      {"title past the listed tables ends the reading",
       head + "\tAlvo\t600\r\n\r\nVazia\r\n\r\nServico\r\n\r\nExtra\r\n\r\nPesagem\r\n",
       {"Version OK", "0 Pesagem", "1 Vazia", "2 Servico"},
       {600, 1, 1, 1, 1}},
      {"wrong device",
       "RW4000 8.10\tIP:127.0.0.9\r\n\r\nPesagem\r\n\tAlvo\t600\r\n",
       {"Invalid File"},
       {1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setAll(1);
    box().memo7.clear();
    const std::string path = dir.file("in.txt");
    writeWhole(path, c.file);
    const bool valid = c.memo.front() == "Version OK";
    EXPECT_EQ(group().ReadFileParClick(path), valid);
    EXPECT_EQ(box().memo7, c.memo);
    EXPECT_EQ(box().saveAllParEnabled, valid);
    for (size_t r = 0; r < c.table0.size(); ++r) EXPECT_EQ(value(0, r), c.table0[r]) << "row " << r;
  }
}

TEST_F(ParFileTest, AnEmptyFirstLineMatchesOnlyAnEmptyIdentification) {
  const std::string path = dir.file("empty.txt");
  writeWhole(path, "\r\n\r\nPesagem\r\n\tAlvo\t600\r\n");
  EXPECT_FALSE(group().ReadFileParClick(path));
  version("");
  EXPECT_TRUE(group().ReadFileParClick(path));
  EXPECT_EQ(box().memo7, (Texts{"Invalid File", "Version OK", "0 Pesagem"}));
  EXPECT_EQ(value(0, 0), 600u);
}

TEST_F(ParFileTest, TheIdentificationIsComparedUpToItsFirstTab) {
  version(" RW4000 8.10\textra");
  const std::string path = dir.file("id.txt");
  writeWhole(path, " RW4000 8.10\tIP:1.2.3.4\r\n");
  EXPECT_TRUE(group().ReadFileParClick(path));
}

TEST_F(ParFileTest, AMessageInTheVersionPanelDoesNotChangeTheIdentification) {
  const std::string path = dir.file("id2.txt");
  ASSERT_TRUE(group().SaveFileAllClick(path));
  shell().setStatus(0, "Log: 501 blocks");  // another feature's message in panel 0
  EXPECT_TRUE(group().ReadFileParClick(path));
  EXPECT_EQ(box().memo7.front(), "Version OK");
}

TEST_F(ParFileTest, ALineLongerThan999CharactersLosesItsEnd) {
  const std::string path = dir.file("long.txt");
  writeWhole(path, " RW4000 8.10\r\n\r\n" + std::string(1500, 'T') + "\r\n\r\nVazia\r\n");
  EXPECT_TRUE(group().ReadFileParClick(path));
  ASSERT_EQ(box().memo7.size(), 3u);
  EXPECT_EQ(box().memo7[1], "0 not found->> " + std::string(999, 'T'));
  EXPECT_EQ(box().memo7[2], "1 Vazia");
}

TEST_F(ParFileTest, OneFileShowsItsFirst200MessagesThenHowManyMoreAndIsStillReadToItsEnd) {
  std::string file = " RW4000 8.10\r\n\r\nPesagem\r\n";
  for (int i = 0; i < 1000; ++i) file += "\tp" + std::to_string(i) + "\t1\r\n";
  file += "\r\nVazia\r\n\r\nServico\r\n\tModo\t3\r\n";
  const std::string path = dir.file("unmatched.txt");
  writeWhole(path, file);
  box().memo7 = {"from before"};
  for (int read = 1; read <= 2; ++read) {  // the limit holds for each file read
    SCOPED_TRACE(read);
    EXPECT_TRUE(group().ReadFileParClick(path));
    ASSERT_EQ(box().memo7.size(), 1u + 201u * read);
    const size_t first = box().memo7.size() - 201;
    EXPECT_EQ(box().memo7[first], "Version OK");
    EXPECT_EQ(box().memo7[first + 1], "0 Pesagem");
    EXPECT_EQ(box().memo7[first + 2], "0 not found->> p0");
    EXPECT_EQ(box().memo7[first + 199], "197 not found->> p197");
    // 1000 parameter lines, three titles and "Version OK", less the 200 shown.
    EXPECT_EQ(box().memo7[first + 200], "... and 804 more");
  }
  EXPECT_EQ(box().memo7.front(), "from before");
  EXPECT_EQ(value(2, 0), 3u);  // a value after the last message shown still loads
}

TEST_F(ParFileTest, FilesThatCannotBeOpenedOrCreatedSaySo) {
  box().saveAllParEnabled = true;
  const std::string missing = dir.file("no/such.txt");
  EXPECT_FALSE(group().ReadFileParClick(missing));
  EXPECT_FALSE(box().saveAllParEnabled);
  EXPECT_FALSE(group().SaveFileAllClick(missing));
  EXPECT_EQ(box().memo7, (Texts{"Cannot open " + missing + ": No such file or directory",
                                "Cannot create " + missing + ": No such file or directory"}));
}

TEST_F(ParFileTest, SaveAllToDeviceWritesEveryTableThenReadsEverythingAgain) {
  dev.tables.push_back({"Quarta", 0, {{"Q", "", "", 0, 10, 0, 4}}});
  version(" RW4000 8.10");  // reads the four tables
  const std::string path = dir.file("four.txt");
  writeWhole(path, kSaved + "\r\nQuarta\r\n\tQ\t9\r\n");
  group().SaveAllParClick();  // no accepted file yet: nothing happens
  EXPECT_EQ(device.channel.queue().size(), 0u);
  ASSERT_TRUE(group().ReadFileParClick(path));
  dev.tables[0].params[0].value = 1;
  group().SaveAllParClick();
  EXPECT_EQ(page().progress, "Writing table 1 of 4");
  serve();
  EXPECT_EQ(dev.tableWrites(), (std::vector<int>{0, 1, 2, 3}));
  const std::vector<int> codes = dev.requestCodes();
  ASSERT_EQ(codes.size(), 4u + 1u + 9u);
  EXPECT_EQ(codes[4], 62);
  EXPECT_EQ(dev.tables[3].params[0].value, 9u);
  EXPECT_EQ(dev.tables[0].params[0].value, 500u);
  EXPECT_FALSE(tables().busy());
}

TEST(ParTableFileReader, PiecesOfAnySizeReadLikeTheWholeFile) {
  TableDevice dev;
  dev.tables = {{"A", 0, {{"x", "", "", 0, 100, 0, 0}, {"y", "", "", 0, 100, 0, 0}}}, {"B", 0, {}}};
  const std::string file =
      "id\tIP:h\r\n\r\nA\r\n\tx\t5\r\n\ty\t500\r\n\tz\t1\r\r\n\r\nB\r\n\r\nC\r\n\tx\t7";
  auto read = [&](size_t piece) {
    ParTableStore store;
    Bytes list = dev.tableList();
    PayloadReader reader(list);
    store.storeTableList(reader);
    for (size_t r = 0; r < 2; ++r) {
      Bytes d = dev.descriptor(0, r);
      PayloadReader dr(d);
      store.storeDescriptor(0, r, dr);
    }
    ParTableFileReader fileReader("id", store);
    for (size_t at = 0; at < file.size(); at += piece)
      fileReader.feed(std::string_view(file).substr(at, piece));
    fileReader.finish();
    return std::make_pair(fileReader.messages(), store.table(0).params[0].value);
  };
  const auto whole = read(file.size());
  EXPECT_EQ(whole.first,
            (Texts{"Version OK", "0 A", "1 out of range->> y 500", "2 not found->> z", "1 B"}));
  EXPECT_EQ(whole.second, 5u);
  for (size_t piece : {1u, 2u, 7u}) EXPECT_EQ(read(piece), whole) << piece;
}
