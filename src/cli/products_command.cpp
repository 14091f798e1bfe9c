#include "cli/products_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/json_output.h"
#include "config/file_bytes.h"
#include "config/prod_table_file.h"
#include "link/text_format.h"

namespace vantor {

namespace {
bool productCode(int code) { return code == 61 || code == 60 || code == 50 || code == 31; }

// The first field in which two products differ, described; empty when none.
std::string difference(const ProdStore& store, size_t n, const ProdRecord& wrote) {
  const ProdStructure& s = store.structure();
  for (size_t k = 1; k <= s.intFieldCount(); ++k)
    if (store.intField(n, k) != wrote.ints[k - 1])
      return format("product %zu, %s: wrote %d, reads %d", n, store.descriptor(k).name.c_str(),
                    static_cast<int32_t>(wrote.ints[k - 1]),
                    static_cast<int32_t>(store.intField(n, k)));
  for (size_t f = 0; f < s.textCount(); ++f)
    if (store.textField(n, f) != wrote.texts[f])
      return format("product %zu, %s: wrote \"%s\", reads \"%s\"", n,
                    store.descriptor(s.intCount + f).name.c_str(), wrote.texts[f].c_str(),
                    store.textField(n, f).c_str());
  return {};
}
}  // namespace

void ProductsCommand::addTo(CLI::App& app, std::unique_ptr<CtlCommand>& chosen) {
  CLI::App* products = app.add_subcommand("products", "The device's products.");
  products->require_subcommand(1);
  CLI::App* show = products->add_subcommand(
      "show",
      "Print a header line of the field names, then per product its number, its integer "
      "fields (signed decimal) and its texts (tab-separated).");
  auto json = std::make_shared<bool>(false);
  show->add_flag("--json", *json,
                 "print one JSON document: the field names and per product its fields by name");
  show->callback(
      [&chosen, json] { chosen = std::make_unique<ProductsCommand>(Action::Show, "", *json); });
  struct FileAction {
    const char* name;
    Action action;
    const char* help;
  };
  const FileAction fileActions[] = {
      {"export", Action::Export, "Write the products to FILE as the window's \"Save Product\"."},
      {"import", Action::Import,
       "Read FILE with the window's checks, print its messages, write every product to the "
       "device, read them back and compare. A file that cannot be read, or that has any line "
       "the window would report, writes nothing."},
  };
  for (const FileAction& f : fileActions) {
    CLI::App* sub = products->add_subcommand(f.name, f.help);
    auto path = std::make_shared<std::string>();
    sub->add_option("FILE", *path, "the product file")->required();
    sub->callback([&chosen, path, action = f.action] {
      chosen = std::make_unique<ProductsCommand>(action, *path);
    });
  }
}

void ProductsCommand::prepare(CtlSession& session) {
  if (action_ != Action::Import) return;
  std::string error;
  std::optional<Bytes> bytes = readFileBytes(path_, kProdTableFileLimit, error);
  if (bytes) file_ = std::move(*bytes);
  if (!bytes)
    session.fail(kExitFile, error + "; nothing written");
  else if (file_.empty())
    session.fail(kExitFile, path_ + ": the file is empty; nothing written");
}

void ProductsCommand::connected(CtlSession& session) { session.device().products.GetHDProdClick(); }

void ProductsCommand::replied(CtlSession& session, int code, ByteView) {
  const Products& products = session.device().products;
  if (!productCode(code) || !products.productsLoaded() || products.busy()) return;
  switch (phase_) {
    case Phase::Reading:
      productsRead(session);
      break;
    case Phase::Writing:
      // The sweep ended: read everything back.
      phase_ = Phase::Verifying;
      session.device().products.GetProgClick();
      break;
    case Phase::Verifying:
      verify(session);
      break;
    case Phase::Done:
      break;
  }
}

void ProductsCommand::changed(CtlSession& session, Area area) {
  if (area != Area::Products) return;
  const ProductsControls& c = session.device().products.controls;
  session.progress(c.progress);
  // A write that cannot be built ends the sweep without a reply.
  if (phase_ == Phase::Writing && !session.device().products.busy() &&
      c.message.starts_with("Command 31")) {
    phase_ = Phase::Done;
    session.fail(kExitRefused, c.message);
  }
}

void ProductsCommand::productsRead(CtlSession& session) {
  Device& d = session.device();
  switch (action_) {
    case Action::Show:
      show(d.products.store());
      phase_ = Phase::Done;
      session.finish(kExitOk);
      break;
    case Action::Export:
      phase_ = Phase::Done;
      if (d.prodFile.ExpProdClick(path_))
        session.finish(kExitOk);
      else
        session.fail(kExitFile, d.prodFile.controls.memo9.back());
      break;
    case Action::Import:
      import(session);
      break;
  }
}

void ProductsCommand::show(const ProdStore& store) const {
  const ProdStructure& s = store.structure();
  if (json_) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::array(), list = fields;
    for (size_t f = 0; f < s.fieldCount(); ++f) fields.push_back(store.descriptor(f).name);
    for (size_t n = 0; n < store.count(); ++n) {
      nlohmann::ordered_json product = {{store.descriptor(0).name, n}};
      for (size_t k = 1; k <= s.intFieldCount(); ++k)
        product[store.descriptor(k).name] = static_cast<int32_t>(store.intField(n, k));
      for (size_t f = 0; f < s.textCount(); ++f)
        product[store.descriptor(s.intCount + f).name] = store.textField(n, f);
      list.push_back(std::move(product));
    }
    printJson({{"fields", std::move(fields)}, {"products", std::move(list)}});
    return;
  }
  for (size_t f = 0; f < s.fieldCount(); ++f)
    std::printf("%s%s", f ? "\t" : "", store.descriptor(f).name.c_str());
  std::printf("\n");
  for (size_t n = 0; n < store.count(); ++n) {
    std::printf("%zu", n);
    for (size_t k = 1; k <= s.intFieldCount(); ++k)
      std::printf("\t%d", static_cast<int32_t>(store.intField(n, k)));
    for (size_t f = 0; f < s.textCount(); ++f) std::printf("\t%s", store.textField(n, f).c_str());
    std::printf("\n");
  }
  std::fflush(stdout);
}

void ProductsCommand::import(CtlSession& session) {
  Device& d = session.device();
  ProdFileGroup& file = d.prodFile;
  const size_t before = file.controls.memo9.size();
  const ProdFileRead result = file.InpProdBytes(file_);
  for (size_t i = before; i < file.controls.memo9.size(); ++i)
    std::printf("%s\n", file.controls.memo9[i].c_str());
  std::fflush(stdout);
  phase_ = Phase::Done;
  if (!result.read) {
    session.fail(kExitFile, path_ + ": " + file.controls.memo9.back() + "; nothing written");
    return;
  }
  // The window loads what it can of a file; a script gets all of it or none.
  if (result.problems > 0) {
    session.fail(kExitFile, format("%s: %zu line%s of the file would not load as %s; the first: "
                                   "%s; nothing written",
                                   path_.c_str(), result.problems, result.problems == 1 ? "" : "s",
                                   result.problems == 1 ? "it stands" : "they stand",
                                   file.controls.memo9[before].c_str()));
    return;
  }
  const ProdStore& store = d.products.store();
  written_.clear();
  for (size_t n = 0; n < store.count(); ++n) written_.push_back(store.record(n));
  if (written_.empty()) {
    session.finish(kExitOk);
    return;
  }
  phase_ = Phase::Writing;
  d.products.SetAutoClick();
}

void ProductsCommand::verify(CtlSession& session) {
  const ProdStore& store = session.device().products.store();
  phase_ = Phase::Done;
  if (store.count() < written_.size()) {
    session.fail(kExitNoReply, format("read-back differs: the device counts %zu products of the "
                                      "%zu written",
                                      store.count(), written_.size()));
    return;
  }
  for (size_t n = 0; n < written_.size(); ++n) {
    const std::string diff = difference(store, n, written_[n]);
    if (!diff.empty()) {
      session.fail(kExitNoReply, "read-back differs: " + diff);
      return;
    }
  }
  std::printf("%zu products written and read back\n", written_.size());
  std::fflush(stdout);
  session.finish(kExitOk);
}

}  // namespace vantor
