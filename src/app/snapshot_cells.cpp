#include "app/snapshot_cells.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <set>
#include <utility>

namespace vantor {

namespace {
constexpr const char* kNone = "(none)";

std::string shown(const NamedCell& cell) { return cell.secret ? "(hidden)" : cell.value; }

// Each cell's name with how many cells of that name came before it.
std::vector<std::pair<std::string, size_t>> keys(const NamedCells& cells) {
  std::map<std::string, size_t> seen;
  std::vector<std::pair<std::string, size_t>> out;
  out.reserve(cells.size());
  for (const NamedCell& c : cells) out.emplace_back(c.name, seen[c.name]++);
  return out;
}
}  // namespace

std::string CellDifference::text(const DiffSides& sides) const {
  return part + ": " + name + ": " + sides.first + " " + first + ", " + sides.second + " " + second;
}

std::string quotedCell(const std::string& text) { return "\"" + text + "\""; }

std::string cellValue(std::string_view text) {
  std::string_view digits = text;
  if (digits.starts_with('+')) digits.remove_prefix(1);
  int64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [at, error] = std::from_chars(digits.data(), end, value);
  const bool number = !digits.empty() && error == std::errc() && at == end &&
                      !(digits.size() < text.size() && digits.starts_with('-'));
  return number ? std::to_string(value) : quotedCell(std::string(text));
}

std::vector<CellDifference> cellDifferences(const std::string& part, const NamedCells& first,
                                            const NamedCells& second) {
  const auto firstKeys = keys(first), secondKeys = keys(second);
  std::map<std::pair<std::string, size_t>, size_t> secondAt;
  for (size_t i = 0; i < secondKeys.size(); ++i) secondAt.emplace(secondKeys[i], i);

  std::vector<CellDifference> lines;
  std::vector<bool> paired(second.size(), false);
  for (size_t i = 0; i < first.size(); ++i) {
    const auto found = secondAt.find(firstKeys[i]);
    if (found == secondAt.end()) {
      lines.push_back({part, first[i].name, shown(first[i]), kNone});
      continue;
    }
    paired[found->second] = true;
    const NamedCell& other = second[found->second];
    if (other.value != first[i].value)
      lines.push_back({part, first[i].name, shown(first[i]), shown(other)});
  }
  for (size_t i = 0; i < second.size(); ++i)
    if (!paired[i]) lines.push_back({part, second[i].name, kNone, shown(second[i])});
  return lines;
}

NamedCells cellsNamedIn(const NamedCells& cells, const NamedCells& names) {
  std::set<std::string> wanted;
  for (const NamedCell& c : names) wanted.insert(c.name);
  NamedCells out;
  for (const NamedCell& c : cells)
    if (wanted.count(c.name)) out.push_back(c);
  return out;
}

}  // namespace vantor
