// vantorctl's --json output against rw4000-sim: one JSON document that holds
// exactly what the text output shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/json_output.h"
#include "processes.h"
#include "status_shape.h"

using namespace vantor;
using namespace vantor::e2e;
using Json = nlohmann::ordered_json;

TEST(JsonE2E, StatusIsOneObjectOfTheTextOutputsNamesAndValues) {
  SimProcess sim("127.0.0.240");
  ASSERT_TRUE(sim.ready());
  const CtlResult r = runCtl({"--host", "127.0.0.240", "status", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Json document = Json::parse(r.out);
  ASSERT_TRUE(document.is_object());
  std::string asText;
  for (const auto& [name, value] : document.items()) {
    ASSERT_TRUE(value.is_string()) << name;
    asText += name + ": " + value.get<std::string>() + "\n";
  }
  EXPECT_TRUE(looksLikeStatusOutput(asText)) << asText;
}

TEST(JsonE2E, ParamsShowHoldsEveryTableAndParameterOfTheTextOutput) {
  SimProcess sim("127.0.0.241");
  ASSERT_TRUE(sim.ready());
  const CtlResult text = runCtl({"--host", "127.0.0.241", "params", "show"});
  const CtlResult json = runCtl({"--host", "127.0.0.241", "params", "show", "--json"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const Json document = Json::parse(json.out);
  std::string asText;
  for (const Json& table : document.at("tables")) {
    asText += table.at("name").get<std::string>() + "\n";
    for (const Json& p : table.at("parameters")) {
      asText += "\t" + p.at("name").get<std::string>() + "\t" +
                std::to_string(p.at("value").get<uint32_t>()) + "\t" +
                p.at("unit").get<std::string>() + "\t" +
                std::to_string(p.at("min").get<uint32_t>()) + "\t" +
                std::to_string(p.at("max").get<uint32_t>()) + "\t" +
                std::to_string(p.at("default").get<uint32_t>()) + "\n";
    }
  }
  EXPECT_EQ(asText, text.out);
}

// A device's texts are in its own code page; a byte that is not UTF-8 must
// not end the command.
TEST(JsonE2E, ProductsAndUsersHoldWhatTheTextOutputsShow) {
  SimProcess sim("127.0.0.246");
  ASSERT_TRUE(sim.ready());
  const CtlResult text = runCtl({"--host", "127.0.0.246", "products", "show"});
  const CtlResult json = runCtl({"--host", "127.0.0.246", "products", "show", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto products = nlohmann::json::parse(json.out);
  // The text's header line is the fields; each of its product lines, the
  // product's values in the fields' order.
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = text.out.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.out.substr(at, end - at));
  ASSERT_EQ(lines.size(), products.at("products").size() + 1);
  std::string header;
  for (const auto& f : products.at("fields"))
    header += (header.empty() ? "" : "\t") + f.get<std::string>();
  EXPECT_EQ(lines[0], header);
  const auto& last = products.at("products").back();
  std::string row;
  for (const auto& f : products.at("fields")) {
    const auto& v = last.at(f.get<std::string>());
    row += (row.empty() ? "" : "\t") + (v.is_string() ? v.get<std::string>() : v.dump());
  }
  EXPECT_EQ(lines.back(), row);

  const CtlResult users = runCtl({"--host", "127.0.0.246", "users", "show", "--json"});
  ASSERT_EQ(users.exitCode, 0) << users.err;
  const auto accounts = nlohmann::json::parse(users.out);
  ASSERT_EQ(accounts.size(), 10u);
  EXPECT_EQ(accounts[0].at("slot"), 1);
  EXPECT_FALSE(accounts[0].contains("password"));
}

TEST(JsonOutput, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  EXPECT_EQ(jsonText(Json{{"name", std::string("Usu\xE1rio")}}),
            "{\n  \"name\": \"Usu\xEF\xBF\xBDrio\"\n}");
  EXPECT_EQ(jsonText(Json{{"name", "Usu\xC3\xA1rio"}}), "{\n  \"name\": \"Usu\xC3\xA1rio\"\n}");
}
