#pragma once

// Where the main port's connections hand the boot loader's texts.

#include <QByteArray>

class QTcpSocket;

namespace rwsim {

class MainConnection;

class BootPort {
 public:
  virtual ~BootPort() = default;
  // The device runs its boot loader: framed requests get no answer.
  virtual bool inBootLoader() const = 0;
  // One read of boot-loader text from `connection`, answered on `socket`.
  virtual void bootText(MainConnection& connection, QTcpSocket& socket, const QByteArray& text) = 0;
};

}  // namespace rwsim
