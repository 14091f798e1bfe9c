#pragma once
// The ten user accounts as a snapshot part, in the file of
// `vantorctl users set`: "login\tpassword\tname" a line. Kept without
// passwords ("login\tname") unless asked for; such a file restores logins and
// names and leaves the device's passwords as they are.
#include "app/device.h"
#include "app/snapshot_part.h"
#include "config/user_list_file.h"

namespace vantor {

class UsersSnapshotPart final : public SnapshotPart {
 public:
  UsersSnapshotPart(Device& device, bool withPasswords)
      : device_(device), withPasswords_(withPasswords) {}

  std::string name() const override { return "users"; }
  FileLimit fileLimit() const override { return kUserListLimit; }
  std::string fileName() const override { return "users.txt"; }
  void startRead() override { device_.userLogins.readAccounts(); }
  bool readComplete(int code) override;
  bool saveFile(const std::string& path, std::string& error) override;
  bool takeFile(const std::string& path, ByteView bytes, std::string& error) override;
  std::optional<NamedCells> fileCells(ByteView bytes, std::string& error) const override;
  void startWrite() override;
  bool writeComplete(int code) override;

 private:
  Device& device_;
  bool withPasswords_;
  // The device's passwords are compared: not when the file taken holds none.
  bool comparePasswords_ = true;
  UserAccounts deviceAccounts_;
  UserAccounts fileAccounts_;
};

}  // namespace vantor
