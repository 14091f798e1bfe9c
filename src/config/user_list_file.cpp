#include "config/user_list_file.h"

#include <algorithm>
#include <vector>

#include "config/file_bytes.h"
#include "config/text_lines.h"
#include "link/text_format.h"

namespace vantor {

namespace {

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
  return parseUserList(asText(*bytes), path, accounts, error);
}

std::optional<UserList> parseUserListKept(std::string_view content, const std::string& name,
                                          std::string& error) {
  const std::vector<std::string_view> lines = splitTextLines(content, kUserCount);
  bool twoFields = lines.size() == kUserCount;
  for (std::string_view line : lines)
    twoFields = twoFields && std::count(line.begin(), line.end(), '\t') == 1;
  UserList list;
  list.passwords = !twoFields;
  if (!twoFields) {
    if (!parseUserList(content, name, list.accounts, error)) return std::nullopt;
    return list;
  }
  // "login\tname" read as "login\t\tname": an empty password.
  std::string withEmpty;
  for (std::string_view line : lines) {
    const size_t tab = line.find('\t');
    withEmpty.append(line.substr(0, tab)).append("\t\t").append(line.substr(tab + 1)).append("\n");
  }
  if (!parseUserList(withEmpty, name, list.accounts, error)) return std::nullopt;
  return list;
}

std::string userListText(const UserAccounts& accounts, bool passwords) {
  std::string text;
  for (const UserAccount& a : accounts)
    text += a.login + "\t" + (passwords ? a.password + "\t" : "") + a.name + "\r\n";
  return text;
}

}  // namespace vantor
