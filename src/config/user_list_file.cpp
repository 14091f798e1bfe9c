#include "config/user_list_file.h"

#include <vector>

#include "config/file_bytes.h"
#include "config/text_lines.h"
#include "link/text_format.h"

namespace vantor {

namespace {

constexpr FileLimit kUserListLimit{4 * 1024, "a user list file"};

struct FieldRule {
  const char* what;
  size_t maxChars;
};
constexpr FieldRule kFields[] = {{"login", UserAccount::kLoginMax},
                                 {"password", UserAccount::kPasswordMax},
                                 {"name", UserAccount::kNameMax}};

}  // namespace

bool parseUserList(std::string_view all, const std::string& name, UserAccounts& accounts,
                   std::string& error) {
  const std::vector<std::string_view> lines = splitTextLines(all, kUserCount);
  if (lines.size() != kUserCount) {
    error = lines.size() > kUserCount
                ? format("%s has more than %zu lines; a user list has exactly %zu", name.c_str(),
                         kUserCount, kUserCount)
                : format("%s has %zu lines; a user list has exactly %zu", name.c_str(),
                         lines.size(), kUserCount);
    return false;
  }
  UserAccounts read;
  std::vector<std::string> problems;
  for (size_t i = 0; i < kUserCount; ++i) {
    std::string_view rest = lines[i];
    std::vector<std::string_view> fields;
    for (size_t tab = rest.find('\t'); tab != std::string_view::npos; tab = rest.find('\t')) {
      fields.push_back(rest.substr(0, tab));
      rest.remove_prefix(tab + 1);
    }
    fields.push_back(rest);
    if (fields.size() != std::size(kFields)) {
      problems.push_back(format("%s line %zu: %zu fields; login, password and name are three",
                                name.c_str(), i + 1, fields.size()));
      continue;
    }
    for (size_t f = 0; f < fields.size(); ++f) {
      if (fields[f].size() > kFields[f].maxChars)
        problems.push_back(format("%s line %zu: %s of %zu characters; at most %zu", name.c_str(),
                                  i + 1, kFields[f].what, fields[f].size(), kFields[f].maxChars));
      else if (fields[f].find('\0') != std::string_view::npos)
        problems.push_back(
            format("%s line %zu: %s holds a zero byte", name.c_str(), i + 1, kFields[f].what));
    }
    read[i] = {std::string(fields[0]), std::string(fields[1]), std::string(fields[2])};
  }
  if (!problems.empty()) {
    error.clear();
    for (const std::string& p : problems) error += (error.empty() ? "" : "\n") + p;
    return false;
  }
  accounts = read;
  return true;
}

bool readUserList(const std::string& path, UserAccounts& accounts, std::string& error) {
  const std::optional<Bytes> bytes = readFileBytes(path, kUserListLimit, error);
  if (!bytes) return false;
  return parseUserList({reinterpret_cast<const char*>(bytes->data()), bytes->size()}, path,
                       accounts, error);
}

}  // namespace vantor
