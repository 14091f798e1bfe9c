#include "user_accounts.h"

#include <algorithm>
#include <cstdlib>

namespace rwsim {

SimUserAccounts::SimUserAccounts() {
  setAccount(0, "admin", "velmor2026", "Administrador");
  setAccount(1, "op1", "1111", "Operador Linha 1");
  setAccount(2, "op2", "2222", "Operador Linha 2");
  setAccount(4, "manut", "m4nut", "Manutencao");
  setAccount(5, "qual", "q123", "Qualidade");
  setAccount(8, "tec", "t00l", "Tecnico de Servico");
  block_[400] = 0x5A;
  block_[401] = 0xA5;
  block_[402] = 0x01;
}

void SimUserAccounts::install(SimDevice& device) {
  device.setHandler(kCmdReadUsers, [this](const Frame&) {
    return Answer{kAck, Bytes(block_.begin(), block_.end())};
  });
  device.setHandler(kCmdWriteUsers, [this](const Frame& r) {
    if (r.params.size() != kBlockSize) return Answer{kNak, {}};
    std::copy(r.params.begin(), r.params.end(), block_.begin());
    return Answer{kAck, {}};
  });
}

void SimUserAccounts::setAccount(std::size_t user, const std::string& login,
                                 const std::string& password, const std::string& name) {
  if (user >= kUsers) return;
  put(user * 6, 6, login);
  put(60 + user * 13, 13, password);
  put(190 + user * 21, 21, name);
}

bool SimUserAccounts::takeMessage(const std::vector<std::string>& f) {
  if (f.size() != 6 || f[1] != "1") return false;
  char* end = nullptr;
  const long user = std::strtol(f[2].c_str(), &end, 10);
  if (f[2].empty() || *end != '\0' || user < 0 || user >= static_cast<long>(kUsers)) return false;
  setAccount(static_cast<std::size_t>(user), f[3], f[4], f[5]);
  return true;
}

std::string SimUserAccounts::text(std::size_t offset, std::size_t width) const {
  const auto begin = block_.begin() + static_cast<std::ptrdiff_t>(offset);
  return std::string(begin, std::find(begin, begin + static_cast<std::ptrdiff_t>(width), 0));
}

void SimUserAccounts::put(std::size_t offset, std::size_t width, const std::string& text) {
  const auto at = block_.begin() + static_cast<std::ptrdiff_t>(offset);
  std::fill_n(at, width, 0);
  std::copy_n(text.begin(), std::min(text.size(), width - 1), at);
}

}  // namespace rwsim
