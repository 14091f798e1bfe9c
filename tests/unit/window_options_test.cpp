#include "app/window_options.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(WindowOptions, Parsing) {
  struct Case {
    std::vector<std::string> words;
    bool ok;
    std::optional<std::string> host, dataDir;
    bool help;
  };
  const Case cases[] = {
      {{}, true, std::nullopt, std::nullopt, false},
      {{"--host", "127.0.0.1"}, true, "127.0.0.1", std::nullopt, false},
      {{"--host=127.0.0.2", "--data-dir", "/tmp/x"}, true, "127.0.0.2", "/tmp/x", false},
      {{"--data-dir=/tmp/y"}, true, std::nullopt, "/tmp/y", false},
      {{"--help"}, true, std::nullopt, std::nullopt, true},
      {{"-h"}, true, std::nullopt, std::nullopt, true},
      {{"--host"}, false, std::nullopt, std::nullopt, false},
      {{"--host="}, false, std::nullopt, std::nullopt, false},
      {{"--data-dir"}, false, std::nullopt, std::nullopt, false},
      {{"--bogus"}, false, std::nullopt, std::nullopt, false},
      {{"127.0.0.1"}, false, std::nullopt, std::nullopt, false},
  };
  for (const Case& c : cases) {
    const auto parsed = parseWindowOptions(c.words);
    const std::string what = c.words.empty() ? "(none)" : c.words[0];
    ASSERT_EQ(parsed.options.has_value(), c.ok) << what;
    if (!c.ok) {
      EXPECT_FALSE(parsed.error.empty()) << what;
      continue;
    }
    EXPECT_EQ(parsed.options->host, c.host) << what;
    EXPECT_EQ(parsed.options->dataDir, c.dataDir) << what;
    EXPECT_EQ(parsed.options->help, c.help) << what;
  }
}
