#include <gtest/gtest.h>

#include "config/cell_value.h"
#include "link/text_format.h"
#include "products_fixture.h"
#include "table_device.h"

using namespace vantor;
using namespace vantor::test;

using ProductsTest = ProductsFixture;
using Texts = std::vector<std::string>;
using Ints = std::vector<int>;

TEST_F(ProductsTest, GetAllStructRunsTheWholeChainAndShowsProductZero) {
  connectMain();
  device.channel.clearQueue();
  products().GetHDProdClick();
  EXPECT_EQ(page().progress, "Reading the product structure");
  EXPECT_TRUE(products().busy());
  // One exchange at a time, to see the progress text after each reply.
  device.channel.sendNextCmd();
  Texts progress;
  while (!lan2().writes.empty()) {
    const int code = lan2().writes.front().at(7);
    dev.serve(lan2(), 1);
    if (code != 62 && code != 64) progress.push_back(page().progress);
  }
  // The tables were not loaded: their list first, for the descriptors' widths.
  EXPECT_EQ(dev.productCodes(), (Ints{62, 61, 60, 60, 60, 60, 60, 60, 50, 50, 50, 50}));
  EXPECT_EQ(dev.numbers(60), (Ints{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(dev.numbers(50), (Ints{500, 0, 1, 2}));
  EXPECT_EQ(progress, (Texts{"Reading field 1 of 6", "Reading field 2 of 6", "Reading field 3 of 6",
                             "Reading field 4 of 6", "Reading field 5 of 6", "Reading field 6 of 6",
                             "Reading the product count", "Reading product 1 of 3",
                             "Reading product 2 of 3", "Reading product 3 of 3", ""}));
  EXPECT_FALSE(products().busy());
  EXPECT_TRUE(device.productsLoaded);
  EXPECT_TRUE(page().panelProdVisible);
  EXPECT_TRUE(page().current);
  EXPECT_EQ(page().listBoxProdHint, "Produtos da linha");
  EXPECT_EQ(page().hedProg, "Nº Prod: 3");
  // Fields 1 and 4 have units beginning with "*": integer field 1 and text field 0.
  EXPECT_EQ(page().listBoxProd, (Texts{"1000; P001; ", "500; P002; ", "2000; P003; "}));
  EXPECT_EQ(page().listBoxProdIndex, 0);
  // Number, three integer fields, two texts.
  ASSERT_EQ(page().prodGrid.size(), 6u);
  EXPECT_EQ(page().prodGrid[5].name, "Descricao");
  EXPECT_EQ(cells(), (Texts{"0", "1000", "10", "25", "P001", "Arroz 1 kg"}));
  EXPECT_EQ(page().prodGridHint, "1000; P001; ");
  EXPECT_EQ(page().helpParProd, "numero do produto");
  EXPECT_EQ(page().rangeParProd, "DEF: 0  [0 - 499]");
  EXPECT_EQ(store().listFields(), (std::vector<size_t>{1, 4}));
}

TEST_F(ProductsTest, LoadedTablesAreNotAskedForAgain) {
  device.tablesLoaded = true;
  connectMain();
  device.channel.clearQueue();
  products().GetHDProdClick();
  serve();
  EXPECT_EQ(dev.requests.front().first, 61);
  EXPECT_EQ(store().count(), 3u);
}

TEST_F(ProductsTest, ListLabelsFollowTheStarredFields) {
  struct Case {
    std::vector<std::string> units;  // of fields 0 .. 5
    std::string label;               // of product 1
  };
  const Case cases[] = {
      {{"", "", "", "", "", ""}, "P002"},  // none listed: text field 0
      {{"", "*g", "", "", "*", ""}, "500; P002; "},
      {{"*", "", "*", "", "", "*"}, "1; 5; Feijao 500 g; "},      // field 0: the product number
      {{"*", "*", "*", "*", "*", "*"}, "1; 500; 5; 20; P002; "},  // at most five
  };
  for (const Case& c : cases) {
    for (size_t f = 0; f < 6; ++f) dev.fields[f].unit = c.units[f];
    readAll();
    EXPECT_EQ(page().listBoxProd.at(1), c.label) << c.label;
    device.connection.LanOffClick();
  }
}

TEST_F(ProductsTest, SetSelProdWritesTheShownProductInSeventySixBytes) {
  readAll();
  products().ListBoxProdChange(1);
  EXPECT_EQ(cells(), (Texts{"1", "500", "5", "20", "P002", "Feijao 500 g"}));
  // A code longer than its 20 characters is cut, and the grid shows the cut text.
  setCells({"1", "750", "-1", "30", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Feijao preto"});
  products().SetSelProdClick();
  EXPECT_EQ(page().message, "TolNeg: -1 is outside 0 .. 1000; kept 5");
  serve();
  ASSERT_EQ(dev.requests.size(), 1u);
  const Bytes& sent = dev.requests[0].second;
  ASSERT_EQ(sent.size(), 76u);  // 2 + 21 + 41 + 3 x 4
  EXPECT_EQ(sent[0], 1);
  EXPECT_EQ(sent[1], 0);
  EXPECT_EQ(std::string(sent.begin() + 2, sent.begin() + 22), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(sent[22], 0);  // the terminating zero in the 21st byte
  EXPECT_EQ(std::string(sent.begin() + 23, sent.begin() + 35), "Feijao preto");
  EXPECT_EQ(sent[64], 750 & 0xFF);
  EXPECT_EQ(sent[65], 750 >> 8);
  // -1 is 4294967295 unsigned: above TolNeg's 1000, so the cell went back.
  EXPECT_EQ(sent[68], 5);
  EXPECT_EQ(sent[72], 30);
  EXPECT_EQ(cells(), (Texts{"1", "750", "5", "30", "ABCDEFGHIJKLMNOPQRST", "Feijao preto"}));
  EXPECT_EQ(page().badRow, 2);
  EXPECT_EQ(dev.products[1].texts[0], "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(dev.products[1].ints, (std::vector<uint32_t>{750, 5, 30}));
  EXPECT_EQ(page().listBoxProd.at(1), "750; ABCDEFGHIJKLMNOPQRST; ");
  EXPECT_EQ(page().message, "Product 1 written; TolNeg: -1 is outside 0 .. 1000; kept 5");
  EXPECT_EQ(products().selectedProduct(), 1);
}

TEST_F(ProductsTest, ACellThatIsNoNumberStopsSetSelProdWithNothingStored) {
  readAll();
  struct Case {
    Texts cells;
    int badRow;
  };
  const Case cases[] = {
      {{"0", "12x", "5", "20", "P001", "Arroz"}, 1},
      {{"0", "1200", "5", "", "P001", "Arroz"}, 3},
      {{"zero", "1200", "5", "20", "P001", "Arroz"}, 0},
  };
  for (const Case& c : cases) {
    setCells(c.cells);
    EXPECT_THROW(products().SetSelProdClick(), CellConversionError);
    EXPECT_EQ(page().badRow, c.badRow);
    EXPECT_EQ(store().intField(0, 1), 1000u);  // nothing stored
    EXPECT_EQ(store().textField(0, 1), "Arroz 1 kg");
    EXPECT_EQ(device.channel.queue().size(), 0u);
  }
}

TEST_F(ProductsTest, AProductNumberOutsideTheStoreIsNotWritten) {
  readAll();
  for (const char* number : {"-1", "500", "4294967295"}) {
    setCells({number, "1200", "5", "20", "P001", "Arroz"});
    products().SetSelProdClick();
    EXPECT_EQ(page().badRow, 0) << number;
    EXPECT_EQ(device.channel.queue().size(), 0u) << number;
  }
  EXPECT_EQ(page().message, "Not written: product number -1 is outside 0 .. 499");
}

TEST_F(ProductsTest, MkNewProdTwicePreparesTheSameProductTwice) {
  readAll();
  for (int i = 0; i < 2; ++i) products().MkNewProdClick();
  EXPECT_EQ(store().count(), 3u);  // only "Set Sel Prod" brings it to the device
  EXPECT_EQ(page().listBoxProd,
            (Texts{"1000; P001; ", "500; P002; ", "2000; P003; ", "Descricao", "Descricao"}));
  EXPECT_EQ(page().listBoxProdIndex, 3);
  // Texts from the names of their descriptors, integers from the defaults.
  EXPECT_EQ(cells(), (Texts{"3", "500", "5", "0", "Codigo", "Descricao"}));
  EXPECT_EQ(device.channel.queue().size(), 0u);
  products().SetSelProdClick();
  serve();
  EXPECT_EQ(dev.numbers(31), (Ints{3}));
  ASSERT_EQ(dev.products.size(), 4u);
  EXPECT_EQ(dev.products[3].texts, (Texts{"Codigo", "Descricao"}));
}

TEST_F(ProductsTest, MkNewProdOnAFullDeviceSaysSo) {
  dev.capacity = 3;
  readAll();
  products().MkNewProdClick();
  EXPECT_EQ(page().listBoxProd.size(), 3u);
  EXPECT_EQ(page().message, "No room for a new product: the device holds 3");
}

// With a full store the last product is written too: numbers 0 .. 499.
TEST_F(ProductsTest, SaveAllWritesEveryProductOfTheStore) {
  struct Case {
    int announced;  // the device's count
    size_t products;
    size_t written;
  };
  const Case cases[] = {{-1, 3, 3}, {-1, 500, 500}, {600, 500, 500}};
  for (const Case& c : cases) {
    dev.products.resize(c.products, FakeProduct{{"X", "Y"}, {1, 2, 3}});
    dev.announcedCount = c.announced;
    readAll();
    products().SetAutoClick();
    serve();
    const Ints numbers = dev.numbers(31);
    ASSERT_EQ(numbers.size(), c.written);
    for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<int>(i));
    EXPECT_EQ(page().message, format("%zu products written", c.written));
    EXPECT_FALSE(products().busy());
    device.connection.LanOffClick();
  }
}

TEST_F(ProductsTest, ACountOfZeroAsksForNoProduct) {
  dev.products.clear();
  readAll();
  connectMain();
  device.channel.clearQueue();
  products().GetProgClick();
  serve();
  EXPECT_EQ(dev.numbers(50), (Ints{500}));
  EXPECT_TRUE(page().listBoxProd.empty());
  EXPECT_EQ(page().listBoxProdIndex, -1);
  EXPECT_EQ(page().hedProg, "Nº Prod: 0");
  EXPECT_FALSE(products().busy());
  products().SetAutoClick();
  EXPECT_EQ(page().message, "No products to write");
  EXPECT_EQ(device.channel.queue().size(), 0u);
}

TEST_F(ProductsTest, GetSelProdRereadsTheChosenProductInItsPlace) {
  readAll();
  products().ListBoxProdChange(2);
  dev.products[2] = {{"P033", "Sal 1 kg"}, {1001, 11, 21}};
  products().GetSelProdClick();
  serve();
  EXPECT_EQ(dev.numbers(50), (Ints{2}));
  EXPECT_EQ(page().listBoxProd, (Texts{"1000; P001; ", "500; P002; ", "1001; P033; "}));
  EXPECT_EQ(cells(), (Texts{"2", "1001", "11", "21", "P033", "Sal 1 kg"}));
}

TEST_F(ProductsTest, ChoosingAProductTellsTheLineSimulatorAndShowsIt) {
  readAll();
  std::vector<int> chosen;
  products().productChosen.connect([&](int n) { chosen.push_back(n); });
  products().ProdGridSelectCell(1);
  EXPECT_EQ(page().helpParProd, "peso nominal");
  EXPECT_EQ(page().rangeParProd, "DEF: 500 *g [1 - 60000]");
  products().ListBoxProdChange(1);
  EXPECT_EQ(chosen, (Ints{1}));
  EXPECT_EQ(page().prodGridHint, "500; P002; ");
  EXPECT_EQ(page().helpParProd, "peso nominal");  // the grid's row stays
}

TEST_F(ProductsTest, AStructureLargerThanTheStoreIsClampedAndNotWritten) {
  // 52 text fields, one of them 200 bytes wide, and 60 integer rows.
  dev.widths = std::vector<uint8_t>(52, 2);
  dev.widths[1] = 200;
  dev.intCount = 60;
  dev.capacity = 900;
  dev.fields.assign(112, FakeField{"F", "", "", 0, 0xFFFFFFFFu, 0});
  dev.products = {FakeProduct{Texts(52, "a"), std::vector<uint32_t>(59, 7)}};
  dev.products[0].texts[1] = std::string(199, 'w');
  dev.products[0].ints[48] = 49;  // field 49, the last the store holds
  dev.products[0].texts[51] = "z";
  connectMain();
  device.channel.clearQueue();
  products().GetHDProdClick();
  serve();
  const ProdStructure& s = store().structure();
  EXPECT_EQ(s.capacity, 500u);
  EXPECT_EQ(s.textCount(), 50u);
  EXPECT_EQ(s.intCount, 50u);
  EXPECT_EQ(s.textWidths[1], 150u);
  EXPECT_EQ(page().prodGrid.size(), 100u);
  // Text fields are asked for by the device's numbers: 60 onwards.
  const Ints asked = dev.numbers(60);
  ASSERT_EQ(asked.size(), 100u);
  EXPECT_EQ(asked[49], 49);
  EXPECT_EQ(asked[50], 60);
  // Values come from their places in the device's layout.
  EXPECT_EQ(store().textField(0, 1), std::string(149, 'w'));
  EXPECT_EQ(store().textField(0, 49), "a");
  EXPECT_EQ(store().intField(0, 49), 49u);
  EXPECT_NE(page().message.find("writes none"), std::string::npos);
  products().SetSelProdClick();
  serve();
  EXPECT_TRUE(dev.numbers(31).empty());
  EXPECT_NE(shell().errorBar[1].find("larger than the tool holds"), std::string::npos);
}

TEST_F(ProductsTest, ShortRepliesAreReported) {
  std::vector<std::pair<size_t, size_t>> shortReplies;
  device.channel.onShortReply.connect(
      [&](int, size_t have, size_t wanted) { shortReplies.emplace_back(have, wanted); });
  // A descriptor is exactly its texts and three numbers: no value slot is read.
  readAll();
  EXPECT_TRUE(shortReplies.empty());
  Bytes record = dev.record(0);
  record.resize(70);  // of 74
  products().GetSelProdClick();
  device.channel.sendNextCmd();
  lan2().writes.clear();
  lan2().receive(replyFrame(50, record));
  EXPECT_EQ(shortReplies, (std::vector<std::pair<size_t, size_t>>{{70, 74}}));
  EXPECT_EQ(store().intField(0, 2), 10u);
  EXPECT_EQ(store().intField(0, 3), 0u);  // the missing bytes read as zero
}

TEST_F(ProductsTest, ASweepThatLosesItsReplyStopsAndSaysSo) {
  readAll();
  products().GetProgClick();
  serve(2);  // the count and product 0; then silence
  silence();
  silence();
  EXPECT_EQ(page().progress, "Reading product 2 of 3 stopped: no reply");
  EXPECT_FALSE(products().busy());
}

TEST_F(ProductsTest, TheEndOfTheConnectionMarksTheProductsNotCurrent) {
  readAll();
  device.connection.LanOffClick();
  EXPECT_FALSE(device.productsLoaded);
  EXPECT_FALSE(page().current);
  EXPECT_EQ(page().message, kNotCurrentText);
  EXPECT_TRUE(page().panelProdVisible);  // for the rest of the run
  EXPECT_EQ(store().count(), 3u);        // the store keeps its products
  products().MkNewProdClick();
  products().SetSelProdClick();
  products().SetAutoClick();
  EXPECT_EQ(page().listBoxProd.size(), 3u);
  EXPECT_EQ(device.channel.queue().size(), 0u);
  // Without this connection's structure, "Get All Product" reads it first.
  connectMain();
  device.channel.clearQueue();
  products().GetProgClick();
  EXPECT_EQ(device.channel.queue().size(), 2u);  // 62 and 61
}
