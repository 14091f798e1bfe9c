// vantorctl's users command against rw4000-sim over loopback: what it prints,
// that a written list is what the device keeps, and that a refused file
// writes nothing. Each test has its own 127.0.0.N in 235..239.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <string>

#include "processes.h"

using namespace vantor::e2e;

namespace {

void writeFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

CtlResult ctl(const char* host, QStringList args) {
  return runCtl(QStringList{"--host", host} + args);
}

// The simulator's own ten accounts, as `users show` prints them.
const std::string kSimAccounts =
    "1\tadmin\tAdministrador\n2\top1\tOperador Linha 1\n3\top2\tOperador Linha 2\n4\t\t\n"
    "5\tmanut\tManutencao\n6\tqual\tQualidade\n7\t\t\n8\t\t\n9\ttec\tTecnico de Servico\n10\t\t\n";

}  // namespace

TEST(UsersE2E, ShowPrintsTenRowsAndPasswordsOnlyWhenAsked) {
  SimProcess sim("127.0.0.235");
  ASSERT_TRUE(sim.ready());
  const CtlResult plain = ctl("127.0.0.235", {"users", "show"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_EQ(plain.out, kSimAccounts);
  EXPECT_EQ(plain.out.find("velmor2026"), std::string::npos);

  const CtlResult withPasswords = ctl("127.0.0.235", {"users", "show", "--show-passwords"});
  ASSERT_EQ(withPasswords.exitCode, 0) << withPasswords.err;
  EXPECT_EQ(withPasswords.out.substr(0, withPasswords.out.find('\n', 0) + 1),
            "1\tadmin\tvelmor2026\tAdministrador\n");
  EXPECT_NE(withPasswords.out.find("\n4\t\t\t\n"), std::string::npos);

  const CtlResult json = ctl("127.0.0.235", {"users", "show", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const nlohmann::json doc = nlohmann::json::parse(json.out);
  ASSERT_TRUE(doc.is_array());
  ASSERT_EQ(doc.size(), 10u);
  EXPECT_EQ(doc[8],
            (nlohmann::json{{"slot", 9}, {"login", "tec"}, {"name", "Tecnico de Servico"}}));
  EXPECT_FALSE(doc[0].contains("password"));
  const CtlResult jsonPw = ctl("127.0.0.235", {"users", "show", "--json", "--show-passwords"});
  ASSERT_EQ(jsonPw.exitCode, 0) << jsonPw.err;
  EXPECT_EQ(nlohmann::json::parse(jsonPw.out)[1]["password"], "1111");
}

TEST(UsersE2E, SetWritesTheListAndAReadShowsIt) {
  SimProcess sim("127.0.0.236");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString path = dir.filePath("users.txt");
  std::string list;
  for (int i = 0; i < 10; ++i)
    list += "u" + std::to_string(i) + "\tpass" + std::to_string(i) + "\tUser " + std::to_string(i) +
            (i % 2 ? "\r\n" : "\n");
  writeFile(path, list);
  const CtlResult set = ctl("127.0.0.236", {"users", "set", path});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const CtlResult show = ctl("127.0.0.236", {"users", "show", "--show-passwords"});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  EXPECT_EQ(show.out.substr(0, show.out.find('\n') + 1), "1\tu0\tpass0\tUser 0\n");
  EXPECT_NE(show.out.find("\n10\tu9\tpass9\tUser 9\n"), std::string::npos) << show.out;
}

TEST(UsersE2E, ATooLongFieldIsRefusedWithItsLineAndNothingIsWritten) {
  SimProcess sim("127.0.0.237");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const QString path = dir.filePath("users.txt");
  std::string list;
  for (int i = 0; i < 10; ++i) list += (i == 6 ? "toolong" : "ok") + std::string("\tp\tn\n");
  writeFile(path, list);
  const CtlResult set = ctl("127.0.0.237", {"users", "set", path});
  EXPECT_EQ(set.exitCode, 4);
  EXPECT_NE(set.err.find("line 7: login of 7 characters; at most 5"), std::string::npos) << set.err;
  const CtlResult show = ctl("127.0.0.237", {"users", "show"});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  EXPECT_EQ(show.out, kSimAccounts);
}
