#include "sim_terminal.h"

#include <algorithm>
#include <cstdio>

#include "le_bytes.h"
#include "sim_device.h"

namespace rwsim {

namespace {

constexpr std::array<const char*, 6> kFieldNames{"MENU", "SUB", "ALT", "OK", "NUM", "OFF"};
constexpr std::size_t kFirstListLine = 2;
constexpr std::size_t kMessageLine = 14;
constexpr std::size_t kBarLine = 15;

std::string fit(std::string text) {
  if (text.size() > kScreenColumns) text.resize(kScreenColumns);
  return text;
}

}  // namespace

SimTerminal::SimTerminal()
    : menus_{
          {"Produto", {{"Numero", 1, 1, 99, 1}, {"Lote", 100, 0, 9999, 1}}},
          {"Velocidade", {{"Pacotes/min", 120, 10, 300, 5}, {"Atraso ms", 50, 0, 500, 10}}},
          {"Pesagem",
           {{"Alvo g", 500, 1, 5000, 1}, {"Tol - g", 5, 0, 100, 1}, {"Tol + g", 10, 0, 100, 1}}},
          {"Rejeicao", {{"Modo", 1, 0, 2, 1}, {"Pulso ms", 80, 10, 990, 10}}},
          {"Impressora", {{"Copias", 1, 1, 9, 1}, {"Densidade", 8, 0, 15, 1}}},
          {"Relogio", {{"Ajuste s", 0, -59, 59, 1}}},
          {"Sistema", {{"Idioma", 0, 0, 2, 1}, {"Contraste", 5, 0, 9, 1}}},
      } {}

void SimTerminal::install(SimDevice& device) {
  device.setHandler(kCmdReadDisplay, [this](const Frame&) {
    return Answer{kAck, screenPayload()};
  });
  device.setHandler(kCmdKey, [this](const Frame& request) {
    if (request.params.size() != 1) return Answer{kNak, {}};
    press(request.params[0]);
    return Answer{kAck, {}};
  });
}

bool SimTerminal::press(std::uint8_t code) {
  if (code >= '0' && code <= '9') {
    apply(Key::Digit, code - '0');
    return true;
  }
  switch (code) {
    case 'A':
    case 1:
      apply(Key::Up, 0);
      return true;
    case 'B':
    case 2:
      apply(Key::Down, 0);
      return true;
    case 'C':
    case 3:
      apply(Key::Left, 0);
      return true;
    case 'D':
    case 4:
      apply(Key::Right, 0);
      return true;
    case 'E':
    case 10:
      apply(Key::Enter, 0);
      return true;
    case 'F':
    case 5:
      apply(Key::Back, 0);
      return true;
    case 6:
      apply(Key::Main, 0);
      return true;
    case 7:
      apply(Key::Off, 0);
      return true;
    case 8:
      apply(Key::Digit, 0);
      return true;
    default:
      return false;
  }
}

void SimTerminal::apply(Key key, int digit) {
  if (field_ == kOff) {  // any key wakes the terminal into the main menu
    field_ = kMenu;
    message_.clear();
    return;
  }
  message_.clear();
  if (key == Key::Off) {
    leaveSub();
    field_ = kOff;
    return;
  }
  if (key == Key::Main) {
    leaveSub();
    entry_ = 0;
    return;
  }
  if (inSub_) {
    inSub(key, digit);
  } else {
    inMain(key, digit);
  }
}

void SimTerminal::inMain(Key key, int digit) {
  const std::size_t count = menus_.size();
  switch (key) {
    case Key::Up:
      entry_ = (entry_ + count - 1) % count;
      break;
    case Key::Down:
      entry_ = (entry_ + 1) % count;
      break;
    case Key::Digit:
      if (digit >= 1 && static_cast<std::size_t>(digit) <= count)
        entry_ = static_cast<std::size_t>(digit - 1);
      break;
    case Key::Enter:
    case Key::Right:
      inSub_ = true;
      line_ = 0;
      edited_.clear();
      for (const SimMenuValue& v : menus_[entry_].values) edited_.push_back(v.value);
      field_ = kSub;
      break;
    default:
      break;
  }
}

void SimTerminal::inSub(Key key, int digit) {
  std::vector<SimMenuValue>& values = menus_[entry_].values;
  SimMenuValue& chosen = values[line_];
  int& shown = edited_[line_];
  switch (key) {
    case Key::Up:
    case Key::Down:
      typed_.clear();
      line_ = key == Key::Up ? (line_ + values.size() - 1) % values.size()
                             : (line_ + 1) % values.size();
      break;
    case Key::Left:
    case Key::Right:
      typed_.clear();
      shown = std::clamp(shown + (key == Key::Left ? -chosen.step : chosen.step), chosen.min,
                         chosen.max);
      field_ = kChanged;
      break;
    case Key::Digit:
      if (typed_.size() < 4) typed_.push_back(static_cast<char>('0' + digit));
      field_ = kTyping;
      break;
    case Key::Enter: {
      if (!typed_.empty()) shown = std::clamp(std::stoi(typed_), chosen.min, chosen.max);
      typed_.clear();
      for (std::size_t i = 0; i < values.size(); ++i) values[i].value = edited_[i];
      message_ = "Gravado";
      field_ = kSaved;
      break;
    }
    case Key::Back:
      if (!typed_.empty()) {
        typed_.clear();
        field_ = kSub;
        break;
      }
      leaveSub();
      break;
    default:
      break;
  }
}

void SimTerminal::leaveSub() {
  inSub_ = false;
  typed_.clear();
  edited_.clear();
  line_ = 0;
  field_ = kMenu;
}

std::uint8_t SimTerminal::menuLine() const {
  return static_cast<std::uint8_t>(inSub_ ? line_ : entry_);
}

std::array<std::string, kScreenLines> SimTerminal::screen() const {
  std::array<std::string, kScreenLines> lines;
  char buf[64];
  if (field_ == kOff) {
    lines[7] = "      Terminal desligado";
  } else if (!inSub_) {
    lines[0] = "RW4000 SIM   Menu principal";
    lines[1] = std::string(kScreenColumns, '-');
    for (std::size_t i = 0; i < menus_.size(); ++i) {
      std::snprintf(buf, sizeof buf, "%c %zu %s", i == entry_ ? '>' : ' ', i + 1, menus_[i].title);
      lines[kFirstListLine + i] = buf;
    }
  } else {
    const SimMenu& menu = menus_[entry_];
    std::snprintf(buf, sizeof buf, "%s", menu.title);
    lines[0] = buf;
    lines[1] = std::string(kScreenColumns, '-');
    for (std::size_t i = 0; i < menu.values.size(); ++i) {
      const bool chosen = i == line_;
      if (chosen && !typed_.empty()) {
        std::snprintf(buf, sizeof buf, "> %-16s %9s_", menu.values[i].name, typed_.c_str());
      } else {
        std::snprintf(buf, sizeof buf, "%c %-16s %10d", chosen ? '>' : ' ', menu.values[i].name,
                      edited_[i]);
      }
      lines[kFirstListLine + i] = buf;
    }
  }
  lines[kMessageLine] = message_;
  std::string bar;
  for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
    bar += i == field_ ? "[" : " ";
    bar += kFieldNames[i];
    bar += i == field_ ? "]" : " ";
  }
  lines[kBarLine] = bar;
  for (std::string& line : lines) line = fit(line);
  return lines;
}

Bytes SimTerminal::screenPayload() const {
  Bytes out;
  out.reserve(kScreenLines * kScreenSlot);
  for (const std::string& line : screen()) appendText(out, line, kScreenSlot);
  return out;
}

}  // namespace rwsim
