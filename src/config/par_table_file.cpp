#include "config/par_table_file.h"

#include "config/cell_value.h"
#include "config/split_tab_fields.h"
#include "link/text_format.h"

namespace vantor {

namespace {
constexpr const char* kLineEnd = "\r\n";  // text mode on disk

std::string_view upToTab(std::string_view s, size_t max) {
  s = s.substr(0, s.find('\t'));
  return s.substr(0, max);
}
}  // namespace

std::string parTableFileText(const std::string& identification, const std::string& host,
                             const ParTableStore& store) {
  std::string out = format("%s\tIP:%s%s", identification.c_str(), host.c_str(), kLineEnd);
  for (size_t t = 0; t < store.tableCount(); ++t) {
    const ParTable& table = store.table(t);
    out += format("%s%s%s", kLineEnd, table.name.c_str(), kLineEnd);
    for (size_t r = 0; r < table.paramCount; ++r)
      out += format("\t%s\t%d%s", table.params[r].name.c_str(),
                    static_cast<int32_t>(table.params[r].value), kLineEnd);
  }
  return out;
}

ParTableFileReader::ParTableFileReader(std::string_view identification, ParTableStore& store)
    : expected_(upToTab(identification, kMaxIdentification)), store_(store) {}

void ParTableFileReader::put(char c) {
  lineStarted_ = true;
  if (line_.size() < kMaxLine) line_.push_back(c);
}

void ParTableFileReader::message(std::string text) {
  if (messages_.size() < kMaxMessages)
    messages_.push_back(std::move(text));
  else
    ++notKept_;
}

void ParTableFileReader::feed(std::string_view bytes) {
  for (char c : bytes) {
    if (stopped_) return;
    if (c == '\n') {
      pendingCr_ = false;  // CR LF is one line end
      endLine();
      continue;
    }
    if (pendingCr_) put('\r');  // a CR not followed by LF is text
    pendingCr_ = c == '\r';
    if (!pendingCr_) put(c);
  }
}

void ParTableFileReader::finish() {
  if (stopped_) return;
  if (pendingCr_) put('\r');
  pendingCr_ = false;
  if (lineStarted_) endLine();
}

void ParTableFileReader::endLine() {
  handleLine(line_);
  line_.clear();
  lineStarted_ = false;
}

void ParTableFileReader::handleLine(std::string_view line) {
  const std::vector<std::string_view> fields = splitTabFields(line);
  if (!accepted_) {
    const std::string_view first = fields.empty() ? std::string_view() : fields[0];
    if (first.substr(0, kMaxIdentification) == expected_) {
      message("Version OK");
      accepted_ = true;
    } else {
      message("Invalid File");
      stopped_ = true;
    }
    return;
  }
  if (fields.size() == 1) {
    ++table_;
    if (static_cast<size_t>(table_) >= store_.tableCount()) {
      stopped_ = true;
      return;
    }
    const std::string title(line);
    const bool same = title == store_.table(static_cast<size_t>(table_)).name;
    message(same ? format("%ld %s", table_, title.c_str())
                 : format("%ld not found->> %s", table_, title.c_str()));
    row_ = 0;
  } else if (fields.size() == 3 && table_ >= 0) {
    parameterLine(fields[1], fields[2]);
    ++row_;
  }
}

void ParTableFileReader::parameterLine(std::string_view nameField, std::string_view valueText) {
  ParTable& table = store_.table(static_cast<size_t>(table_));
  const std::string name(nameField);
  if (row_ >= table.paramCount || name != table.params[row_].name) {
    message(format("%zu not found->> %s", row_, name.c_str()));
    return;
  }
  ParDescriptor& d = table.params[row_];
  const std::string text(valueText);
  const std::optional<uint32_t> v = parseCell32(text);
  if (!v)
    message(format("%zu not a number->> %s %s", row_, name.c_str(), text.c_str()));
  else if (!d.accepts(*v))
    message(format("%zu out of range->> %s %s", row_, name.c_str(), text.c_str()));
  else
    d.value = *v;
}

}  // namespace vantor
