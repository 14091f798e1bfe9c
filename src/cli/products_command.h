#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cli/ctl_session.h"
#include "config/prod_store.h"

namespace CLI {
class App;
}

namespace vantor {

// `products show`: reads the structure and every product and prints a header
// line of the field names and one line per product (tab-separated): its
// number, the integer fields in signed decimal, the texts.
// `products export FILE`: reads them and writes the window's "Save Product" file.
// `products import FILE`: reads FILE whole before connecting (a file that
// cannot be read or is empty exits with kExitFile), reads the structure and
// the products, reads the file into the store with the window's checks (its
// Memo9 lines go to stdout), writes every product ("Save All ->Device"), reads
// them back and compares. A file with any line the window would report (a
// field name that differs, a value not loaded, a text cut, extra columns)
// exits with kExitFile and nothing is written; a read-back that differs from
// what was written exits with kExitNoReply.
// All three show the products' progress text while they read or write.
class ProductsCommand final : public CtlCommand {
 public:
  enum class Action { Show, Export, Import };

  ProductsCommand(Action action, std::string path, bool json = false)
      : action_(action), path_(std::move(path)), json_(json) {}

  // Adds `products show|export FILE|import FILE` to the command line; when it
  // is given, `chosen` becomes this command.
  static void addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen);

  void prepare(CtlSession& session) override;
  void connected(CtlSession& session) override;
  void replied(CtlSession& session, int code, ByteView frame) override;
  void changed(CtlSession& session, Area area) override;

 private:
  enum class Phase { Reading, Writing, Verifying, Done };

  void productsRead(CtlSession& session);
  void show(const ProdStore& store) const;
  void import(CtlSession& session);
  void verify(CtlSession& session);

  Action action_ = Action::Show;
  std::string path_;
  bool json_ = false;                // show: one JSON document
  Bytes file_;                       // import: the file as read before connecting
  std::vector<ProdRecord> written_;  // import: the products as they were written
  Phase phase_ = Phase::Reading;
};

}  // namespace vantor
