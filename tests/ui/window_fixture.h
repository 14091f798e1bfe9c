// The main window on fake sockets as the window tests hold it: a data folder
// of its own, widgets looked up by objectName, clicks that check the button
// can be clicked, and the main link brought up by hand.
#pragma once

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>

#include "app/data_dir.h"
#include "fakes.h"
#include "ui/tqxvantor.h"

namespace vantor::test {

class WindowFixture {
 protected:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<FakeSeams> seams_;
  std::unique_ptr<TQXVantor> w_;

  std::string dataDir() const { return withTrailingSlash(dir_->path().toStdString()); }
  // A new window on seams_ with its files in dir_, not shown yet.
  void newWindow(std::optional<std::string> host = std::nullopt) {
    w_ = std::make_unique<TQXVantor>(*seams_, WindowStart{dataDir(), std::move(host)});
  }
  // Clicks land by geometry, so the layout must be in place.
  void showWindow() {
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
  }
  void openWindow(std::optional<std::string> host = std::nullopt) {
    newWindow(std::move(host));
    showWindow();
  }
  // A fresh data folder and fake sockets, and the window on them at the
  // smallest screen size it is made for, 1024 x 600.
  void openSmallWindow() {
    dir_ = std::make_unique<QTemporaryDir>();
    seams_ = std::make_unique<FakeSeams>();
    newWindow();
    w_->resize(1024, 600);
    showWindow();
  }
  // The access level as a login would set it, applied and painted.
  void setLevel(uint8_t level) {
    device().access.setLevel(level);
    device().access.apply();
    w_->repaintNow();
  }

  Device& device() { return w_->device(); }
  FakeSocket& lan2() { return *seams_->sockets.at(0); }  // the main link
  FakeSocket& lan3() { return *seams_->sockets.at(3); }

  template <typename T = QWidget>
  T* find(const char* name) {
    T* widget = w_->findChild<T*>(QLatin1String(name));
    if (!widget) qWarning("no widget %s", name);
    return widget;
  }
  void click(const char* name) {
    auto* button = find<QPushButton>(name);
    QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
    w_->repaintNow();
  }

  // "Connect" to `host`; the fake link answers the version and status requests
  // of the connect, and the queue is left empty.
  void connectMain(const char* host) {
    device().connection.controls.host = host;
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    lan2().connect();
    lan2().receive(replyFrame(70, {0}));
    lan2().receive(replyFrame(51, Bytes(56, 0)));
    lan2().writes.clear();
    device().channel.clearQueue();
  }
  // Sends `code` as the next request and lets the device answer it with `payload`.
  void ask(int code, const Bytes& payload) {
    device().channel.queueCmd(code);
    device().channel.sendNextCmd();
    lan2().writes.clear();
    lan2().receive(replyFrame(code, payload));
  }
};

}  // namespace vantor::test
