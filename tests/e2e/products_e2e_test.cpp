// vantorctl's products command against rw4000-sim over loopback: what it
// prints, what its file holds, and that the device holds what an import
// wrote. Each test has its own 127.0.0.N in 160..169.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "processes.h"
#include "test_files.h"

using namespace vantor::e2e;

namespace {

// Replaces the start of a line of a product file.
std::string withLineStart(std::string file, const std::string& start,
                          const std::string& replacement) {
  const size_t at = file.find("\r\n" + start);
  EXPECT_NE(at, std::string::npos) << start;
  if (at != std::string::npos) file.replace(at + 2, start.size(), replacement);
  return file;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    out.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return out;
}

CtlResult ctl(const char* host, QStringList args) {
  return runCtl(QStringList{"--host", host} + args);
}

}  // namespace

TEST(ProductsE2E, ShowPrintsTheFieldNamesAndOneLinePerProduct) {
  SimProcess sim("127.0.0.160", {}, {"--products", "3"});
  ASSERT_TRUE(sim.ready());
  const CtlResult r = ctl("127.0.0.160", {"products", "show"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(lines(r.out),
            (std::vector<std::string>{
                "Numero\tPesoNom\tTolNeg\tTolPos\tTara\tEtiqueta\tValidade\tRitmo\tCodigo\t"
                "Descricao\tLote",
                "0\t250\t2\t5\t10\t1\t90\t40\tArroz-0000\tArroz tipo 1, 250 g\tL2600",
                "1\t500\t3\t6\t11\t2\t91\t41\tFeijao-0001\tFeijao tipo 1, 500 g\tL2601",
                "2\t750\t4\t7\t12\t3\t92\t42\tAcucar-0002\tAcucar tipo 1, 750 g\tL2602"}));
}

TEST(ProductsE2E, AnExportedFileChangedAndImportedIsWhatTheDeviceReadsBack) {
  SimProcess sim("127.0.0.161");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString saved = dir.filePath("prod.csv"), edited = dir.filePath("edited.csv"),
                again = dir.filePath("again.csv");
  CtlResult r = ctl("127.0.0.161", {"products", "export", saved});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string file = readFile(saved);
  EXPECT_TRUE(file.starts_with("Numero;0;1;2;")) << file.substr(0, 40);
  EXPECT_EQ(lines(file).size(), 11u);  // one line per field
  // A new weight for product 0 and a new description for product 0.
  std::string changed = withLineStart(file, "PesoNom;250;", "PesoNom;1234;");
  changed = withLineStart(changed, "Descricao;Arroz tipo 1, 250 g;", "Descricao;Arroz novo;");
  writeFile(edited, changed);
  r = ctl("127.0.0.161", {"products", "import", edited});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Nº Prod Device: 25 Nº Prod File: 25\n25 products written and read back\n");
  // A fresh run reads the file's values from the device.
  r = ctl("127.0.0.161", {"products", "export", again});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readFile(again), changed);
}

TEST(ProductsE2E, ARefusedFileLeavesTheDeviceUnchanged) {
  SimProcess sim("127.0.0.162", {}, {"--products", "4"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString saved = dir.filePath("prod.csv"), edited = dir.filePath("edited.csv"),
                after = dir.filePath("after.csv");
  ASSERT_EQ(ctl("127.0.0.162", {"products", "export", saved}).exitCode, 0);
  const std::string file = readFile(saved);
  struct Case {
    std::string start, replacement, message;
  };
  const Case cases[] = {
      {"PesoNom;250;", "PesoNom;peso;", "Line 2, product 0, PesoNom: 'peso' is not a number"},
      {"TolNeg;2;", "TolNeg;9999;", "Line 3, product 0, TolNeg: 9999 is outside 0 .. 5000"},
      {"Tara;", "Weight;", "Not found->> Weight"},
      {"Lote;", "Lote;", "1 product column past the 500 products the device holds was ignored"},
  };
  for (const Case& c : cases) {
    std::string bad = withLineStart(file, c.start, c.replacement);
    if (c.message.starts_with("1 product")) {  // 501 columns in the numbers' line
      std::string numbers = "Numero;";
      for (int n = 0; n <= 500; ++n) numbers += std::to_string(n) + ";";
      bad = numbers + bad.substr(bad.find("\r\n"));
    }
    writeFile(edited, bad);
    // The values the device would be sent otherwise.
    const CtlResult r = ctl("127.0.0.162", {"products", "import", edited});
    EXPECT_EQ(r.exitCode, 4) << c.start << r.err;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
  }
  // A file that cannot be read at all.
  const CtlResult missing = ctl("127.0.0.162", {"products", "import", dir.filePath("none.csv")});
  EXPECT_EQ(missing.exitCode, 4);
  EXPECT_NE(missing.err.find("Cannot open"), std::string::npos) << missing.err;
  ASSERT_EQ(ctl("127.0.0.162", {"products", "export", after}).exitCode, 0);
  EXPECT_EQ(readFile(after), file);
}
