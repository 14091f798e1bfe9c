// vantorctl snapshot against rw4000-sim: a saved snapshot names exactly what
// was changed on the device since, puts it back, and a tampered snapshot
// writes nothing. Each test has its own 127.0.0.N in 240..249.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <utility>

#include "processes.h"
#include "test_files.h"

using namespace vantor::e2e;

namespace {

CtlResult ctl(const char* host, QStringList args) {
  return runCtl(QStringList{"--host", host} + args);
}

// Every part of a snapshot, in its order, with its file.
const std::pair<const char*, const char*> kPartFiles[] = {{"tables", "tables.txt"},
                                                          {"blocks", "blocks.bin"},
                                                          {"products", "products.csv"},
                                                          {"users", "users.txt"},
                                                          {"reject-texts", "reject-texts.txt"}};

// "tables: saved in tables.txt\n" and so on, one line per part; without
// files, "tables: written and read back\n".
std::string linePerPart(const std::string& middle,
                        std::span<const std::pair<const char*, const char*>> files) {
  std::string out;
  for (const auto& [part, file] : kPartFiles)
    out += part + middle + (files.empty() ? "" : file) + "\n";
  return out;
}

}  // namespace

TEST(SnapshotE2E, SaveDiffRestoreRoundTripNamesExactlyWhatChanged) {
  const char* host = "127.0.0.242";
  SimProcess sim(host);
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString snap = dir.filePath("line1");

  const CtlResult saved = ctl(host, {"snapshot", "save", "--with-passwords", snap});
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_EQ(saved.out, linePerPart(": saved in ", kPartFiles));
  EXPECT_EQ(QDir(snap).entryList(QDir::Files),
            (QStringList{"blocks.bin", "products.csv", "reject-texts.txt", "snapshot.json",
                         "tables.txt", "users.txt"}));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"line1"});
  const std::string manifest = readFile(snap + "/snapshot.json");
  EXPECT_NE(manifest.find("\r\n"), std::string::npos);
  const auto json = nlohmann::json::parse(manifest);
  EXPECT_EQ(json.at("device"), " RW4000 SIM 8.10");
  EXPECT_EQ(json.at("files").size(), std::size(kPartFiles));

  const CtlResult equal = ctl(host, {"snapshot", "diff", snap});
  EXPECT_EQ(equal.exitCode, 0) << equal.err;
  EXPECT_EQ(equal.out, "");

  // Change one parameter and one block value on the device.
  const QString tables = dir.filePath("tables.txt");
  writeFile(tables, withLine(readFile(snap + "/tables.txt"), "\tPesoAlvo\t500", "\tPesoAlvo\t450"));
  ASSERT_EQ(ctl(host, {"params", "load", tables}).exitCode, 0);
  std::string blocks = readFile(snap + "/blocks.bin");  // CommBlock first, HBMPort its value 0
  const unsigned before = static_cast<unsigned char>(blocks[0]);
  blocks[0] = static_cast<char>(before ^ 0x01);
  const QString blocksFile = dir.filePath("blocks.bin");
  writeFile(blocksFile, blocks);
  ASSERT_EQ(ctl(host, {"blocks", "restore", "--force", blocksFile}).exitCode, 0);

  // One product field and one user's name as well.
  const QString products = dir.filePath("products.csv");
  std::string productFile = readFile(snap + "/products.csv");
  const size_t tara = productFile.find("\r\nTara;10;");
  ASSERT_NE(tara, std::string::npos);
  productFile.replace(tara, 10, "\r\nTara;77;");
  writeFile(products, productFile);
  ASSERT_EQ(ctl(host, {"products", "import", products}).exitCode, 0);
  const QString users = dir.filePath("users.txt");
  writeFile(users, withLine(readFile(snap + "/users.txt"), "op1\t1111\tOperador Linha 1",
                            "op1\t1111\tTurno B"));
  ASSERT_EQ(ctl(host, {"users", "set", users}).exitCode, 0);

  const std::string expected =
      "tables: Pesagem PesoAlvo: device 450, snapshot 500\n" +
      std::string("blocks: CommBlock HBMPort: device ") + std::to_string(before ^ 0x01) +
      ", snapshot " + std::to_string(before) + "\n" +
      "products: product 0, Tara: device 77, snapshot 10\n" +
      "users: user 2 name: device \"Turno B\", snapshot \"Operador Linha 1\"\n";
  const CtlResult changed = ctl(host, {"snapshot", "diff", snap});
  EXPECT_EQ(changed.exitCode, 6) << changed.err;
  EXPECT_EQ(changed.out, expected);

  // The same differences between two snapshots, without the device.
  const QString later = dir.filePath("line1-later");
  ASSERT_EQ(ctl(host, {"snapshot", "save", "--with-passwords", later}).exitCode, 0);
  const CtlResult offline = ctl("127.0.0.249", {"snapshot", "diff", later, snap});
  EXPECT_EQ(offline.exitCode, 6) << offline.err;
  std::string named = expected;
  for (const char* side : {"device ", "snapshot "}) {
    const std::string folder = (side[0] == 'd' ? later : snap).toStdString() + " ";
    for (size_t at = named.find(side); at != std::string::npos;
         at = named.find(side, at + folder.size()))
      named.replace(at, std::strlen(side), folder);
  }
  EXPECT_EQ(offline.out, named);
  const CtlResult asJson = ctl("127.0.0.249", {"snapshot", "diff", "--json", later, snap});
  EXPECT_EQ(asJson.exitCode, 6);
  const auto document = nlohmann::json::parse(asJson.out);
  EXPECT_EQ(document.at("equal"), false);
  ASSERT_EQ(document.at("differences").size(), 4u);
  EXPECT_EQ(document.at("differences")[2].at("name"), "product 0, Tara");
  EXPECT_EQ(document.at("differences")[2].at("first"), "77");

  const CtlResult onlyBlocks = ctl(host, {"snapshot", "diff", "--only", "blocks", snap});
  EXPECT_EQ(onlyBlocks.exitCode, 6);
  EXPECT_EQ(onlyBlocks.out.find("tables:"), std::string::npos) << onlyBlocks.out;

  const CtlResult restored = ctl(host, {"snapshot", "restore", snap});
  EXPECT_EQ(restored.exitCode, 0) << restored.err;
  EXPECT_EQ(restored.out, linePerPart(": written and read back", {}));
  const CtlResult after = ctl(host, {"snapshot", "diff", snap});
  EXPECT_EQ(after.exitCode, 0) << after.out;
  EXPECT_EQ(after.out, "");

  // A second save into the same folder is refused; the snapshot stays.
  const CtlResult again = ctl(host, {"snapshot", "save", snap});
  EXPECT_EQ(again.exitCode, 4);
  EXPECT_EQ(readFile(snap + "/snapshot.json"), manifest);
}

TEST(SnapshotE2E, ATamperedOrIncompleteSnapshotWritesNothing) {
  const char* host = "127.0.0.243";
  SimProcess sim(host);
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString snap = dir.filePath("good");
  ASSERT_EQ(ctl(host, {"snapshot", "save", snap}).exitCode, 0);
  const std::string tables = readFile(snap + "/tables.txt");
  const std::string manifest = readFile(snap + "/snapshot.json");

  struct Case {
    const char* name;
    std::string tablesFile;
    std::string manifestFile;
    const char* message;
  };
  const std::string edited = withLine(tables, "\tPesoAlvo\t500", "\tPesoAlvo\t501");
  const Case cases[] = {
      {"an edited file", edited, manifest, "its SHA-256 is not the one in the manifest"},
      {"no manifest", tables, "", "not a snapshot manifest"},
      {"a file outside the folder", tables,
       std::string(manifest).replace(manifest.find("\"tables.txt\""), 12, "\"../x.txt\""),
       "not a plain name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString bad = dir.filePath(c.name);
    ASSERT_TRUE(QDir().mkpath(bad));
    writeFile(bad + "/tables.txt", c.tablesFile);
    writeFile(bad + "/blocks.bin", readFile(snap + "/blocks.bin"));
    writeFile(bad + "/snapshot.json", c.manifestFile);
    const CtlResult r = ctl(host, {"snapshot", "restore", bad});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
  }
  // The device still holds what was saved.
  const CtlResult diff = ctl(host, {"snapshot", "diff", snap});
  EXPECT_EQ(diff.exitCode, 0) << diff.out;
}
