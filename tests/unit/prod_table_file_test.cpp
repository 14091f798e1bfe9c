#include "config/prod_table_file.h"

#include <gtest/gtest.h>

#include "products_fixture.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

using Texts = std::vector<std::string>;

namespace {

// The three products of the product device, as "Save Product" writes them.
const std::string kSaved =
    "Numero;0;1;2;\r\n"
    "Peso;1000;500;2000;\r\n"
    "TolNeg;10;5;20;\r\n"
    "Tara;25;20;30;\r\n"
    "Codigo;P001;P002;P003;\r\n"
    "Descricao;Arroz 1 kg;Feijao 500 g;Acucar 2 kg;\r\n";

struct ProdFileTest : ProductsFixture {
  TempDir dir;
  ProdFileGroup& group() { return device.prodFile; }
  Texts& memo() { return device.prodFile.controls.memo9; }
  ProdFileTest() { readAll(); }
  // A new connection that reads the device's products again.
  void reread() {
    device.connection.LanOffClick();
    readAll();
  }
  ProdFileRead read(const std::string& text) {
    return group().InpProdBytes(
        ByteView(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  }
  std::vector<ProdRecord> records(size_t n) {
    std::vector<ProdRecord> out;
    for (size_t i = 0; i < n; ++i) out.push_back(store().record(i));
    return out;
  }
};

std::string withLf(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace

TEST_F(ProdFileTest, SaveProductWritesOneLinePerFieldAndOneColumnPerProduct) {
  const std::string path = dir.file("prod.csv");
  ASSERT_TRUE(group().ExpProdClick(path));
  EXPECT_EQ(readWhole(path), kSaved);
  EXPECT_EQ(memo(), (Texts{"3 products written to " + path}));
}

TEST_F(ProdFileTest, AnEmptyStoreWritesTheNamesOnly) {
  dev.products.clear();
  reread();
  const std::string path = dir.file("empty.csv");
  ASSERT_TRUE(group().ExpProdClick(path));
  EXPECT_EQ(readWhole(path), "Numero;\r\nPeso;\r\nTolNeg;\r\nTara;\r\nCodigo;\r\nDescricao;\r\n");
}

TEST_F(ProdFileTest, AFileSavedReadsBackUnchanged) {
  const std::string path = dir.file("prod.csv");
  dev.fields[3].max = 0xFFFFFFFFu;
  reread();
  store().setIntField(1, 3, 0xFFFFFFFFu);  // written as -1, read back as the same bits
  const std::vector<ProdRecord> before = records(3);
  ASSERT_TRUE(group().ExpProdClick(path));
  store().setIntField(0, 1, 1);
  store().setTextField(2, 1, "changed");
  memo().clear();
  const ProdFileRead result = group().InpProdClick(path);
  EXPECT_TRUE(result.read);
  EXPECT_EQ(result.problems, 0u);
  EXPECT_EQ(memo(), (Texts{"Nº Prod Device: 3 Nº Prod File: 3"}));
  EXPECT_EQ(records(3), before);
  EXPECT_EQ(store().count(), 3u);
  EXPECT_EQ(device.channel.queue().size(), 0u);  // nothing goes to the device
}

// A spreadsheet on Windows writes CR LF; the file reads exactly as with LF.
TEST_F(ProdFileTest, CrLfAndLfFilesReadAlike) {
  const std::string changed =
      "Numero;0;1;2;\r\nPeso;1;2;3;\r\nTolNeg;4;5;6;\r\nTara;7;8;9;\r\n"
      "Codigo;A;B;C;\r\nDescricao;a;b;c;\r\n";
  ASSERT_EQ(read(changed).problems, 0u);
  const std::vector<ProdRecord> crlf = records(4);
  const Texts crlfMemo = memo();
  reread();
  memo().clear();
  ASSERT_EQ(read(withLf(changed)).problems, 0u);
  EXPECT_EQ(records(4), crlf);
  EXPECT_EQ(memo(), crlfMemo);
  EXPECT_EQ(memo(), (Texts{"Nº Prod Device: 3 Nº Prod File: 3"}));  // no phantom product
  EXPECT_EQ(store().count(), 3u);
  EXPECT_EQ(store().intField(2, 3), 9u);
  EXPECT_EQ(store().textField(2, 1), "c");
}

// A cell that is no number or lies outside its field's limits is not loaded;
// the line, the product and the field are named, the stored value stays.
TEST_F(ProdFileTest, IntegerCellsAreCheckedAgainstTheirFields) {
  struct Case {
    std::string cell;
    std::string message;  // empty: loaded
  };
  const Case cases[] = {
      {"1500", ""},
      {" 750", ""},
      {"abc", "Line 2, product 1, Peso: 'abc' is not a number; kept 500"},
      {"", "Line 2, product 1, Peso: '' is not a number; kept 500"},
      {"12.5", "Line 2, product 1, Peso: '12.5' is not a number; kept 500"},
      {"99999999999", "Line 2, product 1, Peso: '99999999999' is not a number; kept 500"},
      {"60001", "Line 2, product 1, Peso: 60001 is outside 1 .. 60000; kept 500"},
      {"0", "Line 2, product 1, Peso: 0 is outside 1 .. 60000; kept 500"},
      {"-5", "Line 2, product 1, Peso: -5 is outside 1 .. 60000; kept 500"},
  };
  for (const Case& c : cases) {
    store().setIntField(1, 1, 500);
    memo().clear();
    const ProdFileRead result = read("Numero;0;1;2;\nPeso;1000;" + c.cell + ";2000;\n");
    if (c.message.empty()) {
      EXPECT_EQ(result.problems, 0u) << c.cell;
      EXPECT_EQ(store().intField(1, 1), static_cast<uint32_t>(std::stoi(c.cell))) << c.cell;
    } else {
      EXPECT_EQ(result.problems, 1u) << c.cell;
      EXPECT_EQ(memo().front(), c.message);
      EXPECT_EQ(store().intField(1, 1), 500u) << c.cell;
    }
    EXPECT_EQ(store().intField(2, 1), 2000u) << c.cell;  // the rest of the line loads
  }
}

TEST_F(ProdFileTest, ExtraColumnsRaiseTheCountUpToTheDevicesCapacity) {
  const std::string more =
      "Numero;0;1;2;3;4;5;\nPeso;1;2;3;4;5;6;\n"
      "TolNeg;0;0;0;0;0;0;\nTara;0;0;0;0;0;0;\n"
      "Codigo;A;B;C;D;E;F;\nDescricao;a;b;c;d;e;f;\n";
  ProdFileRead result = read(more);
  EXPECT_EQ(result.problems, 0u);
  EXPECT_EQ(memo(), (Texts{"Nº Prod Device: 3 Nº Prod File: 6"}));
  EXPECT_EQ(store().count(), 6u);
  EXPECT_EQ(page().hedProg, "Nº Prod: 6");
  // New entries are labelled with text field 1.
  EXPECT_EQ(page().listBoxProd,
            (Texts{"1000; P001; ", "500; P002; ", "2000; P003; ", "d", "e", "f"}));
  EXPECT_EQ(store().intField(5, 1), 6u);

  dev.capacity = 4;
  reread();
  memo().clear();
  store().setTextField(4, 0, "kept");
  result = read(more);
  EXPECT_EQ(result.problems, 1u);
  EXPECT_EQ(memo(), (Texts{"2 product columns past the 4 products the device holds were ignored",
                           "Nº Prod Device: 3 Nº Prod File: 6"}));
  EXPECT_EQ(store().count(), 4u);
  EXPECT_EQ(store().textField(4, 0), "kept");  // not stored past the capacity
}

TEST_F(ProdFileTest, NamesAreComparedAndLinesPastTheFieldsNotLoaded) {
  const ProdFileRead result =
      read("Numero;0;\nWeight;777;\nTolNeg;1;\nTara;2;\nCodigo;K;\nDescricao;k;\nExtra;9;\n");
  EXPECT_EQ(result.problems, 2u);
  EXPECT_EQ(memo(), (Texts{"Not found->> Weight", "Not found->> Extra",
                           "Nº Prod Device: 3 Nº Prod File: 1"}));
  EXPECT_EQ(store().intField(0, 1), 777u);  // matched by position all the same
}

TEST_F(ProdFileTest, LongCellsAndTextsAreCutAndReported) {
  const std::string huge(250, 'x');
  const ProdFileRead result =
      read("Numero;0;1;\nPeso;1;1;\nTolNeg;1;1;\nTara;1;1;\nCodigo;" + huge + ";" + huge +
           ";\nDescricao;ok;" + std::string(60, 'y') + ";tail\n");
  EXPECT_EQ(memo(), (Texts{"Cells longer than 199 characters were cut to 199 (the first in line 5)",
                           "Line 5, product 0, Codigo: text cut to 20 characters",
                           "Line 5, product 1, Codigo: text cut to 20 characters",
                           "Line 6, product 1, Descricao: text cut to 40 characters",
                           "Line 6: text after the last \";\" ignored: tail",
                           "Nº Prod Device: 3 Nº Prod File: 2"}));
  EXPECT_EQ(result.problems, 5u);
  EXPECT_EQ(store().textField(0, 0), std::string(20, 'x'));
  EXPECT_EQ(store().textField(1, 1), std::string(40, 'y'));
}

TEST_F(ProdFileTest, ATextHoldingASemicolonIsNamedWhenSaved) {
  store().setTextField(1, 1, "Feijao; 500 g");
  store().setTextField(2, 0, "A\nB");
  const std::string path = dir.file("prod.csv");
  ASSERT_TRUE(group().ExpProdClick(path));
  EXPECT_EQ(memo(),
            (Texts{"Product 1, Descricao: the text holds \";\" and does not read back as it is",
                   "Product 2, Codigo: the text holds a line end and does not read back as it is",
                   "3 products written to " + path}));
  // The file keeps its format: the text as it is.
  EXPECT_NE(readWhole(path).find("Descricao;Arroz 1 kg;Feijao; 500 g;Acucar 2 kg;\r\n"),
            std::string::npos);
}

TEST_F(ProdFileTest, AFileThatCannotBeOpenedOrCreatedIsNamedWithItsReason) {
  const std::string missing = dir.file("missing.csv");
  EXPECT_FALSE(group().InpProdClick(missing).read);
  const std::string nowhere = dir.file("no/such/folder/prod.csv");
  EXPECT_FALSE(group().ExpProdClick(nowhere));
  ASSERT_EQ(memo().size(), 2u);
  EXPECT_TRUE(memo()[0].starts_with("Cannot open " + missing + ": ")) << memo()[0];
  EXPECT_TRUE(memo()[1].starts_with("Cannot create " + nowhere + ": ")) << memo()[1];
  EXPECT_EQ(store().count(), 3u);
}

TEST_F(ProdFileTest, WithoutAStructureNothingIsRead) {
  FakeSeams otherSeams;
  Device fresh(otherSeams);  // never connected
  const std::string text = "Numero;0;\n";
  EXPECT_FALSE(
      fresh.prodFile.InpProdBytes(ByteView(reinterpret_cast<const uint8_t*>(text.data()), 10))
          .read);
  EXPECT_EQ(fresh.prodFile.controls.memo9,
            (Texts{"No product structure: \"Get All Struct\" reads it from the device first"}));
}

// Fed in pieces of any size, a file reads as it does whole.
TEST_F(ProdFileTest, TheReaderTakesAnySlices) {
  const std::string text = kSaved + "Extra;1;\r";
  ProdStore whole = store();
  ProdTableFileReader a(whole);
  a.feed(text);
  a.finish();
  for (size_t step : {1u, 2u, 7u}) {
    ProdStore sliced = store();
    ProdTableFileReader b(sliced);
    for (size_t at = 0; at < text.size(); at += step)
      b.feed(std::string_view(text).substr(at, step));
    b.finish();
    EXPECT_EQ(b.messages(), a.messages()) << step;
    for (size_t n = 0; n < 3; ++n) EXPECT_EQ(sliced.record(n), whole.record(n)) << step;
  }
}
