#include "processes.h"

#include <QProcess>

namespace vantor::e2e {

CtlResult runCtl(const QStringList& args, int waitMs) {
  QProcess ctl;
  ctl.start(VANTORCTL_PATH, args);
  CtlResult r;
  if (!ctl.waitForFinished(waitMs)) {
    ctl.kill();
    ctl.waitForFinished();
    return r;
  }
  r.exitCode = ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
  r.out = ctl.readAllStandardOutput().toStdString();
  r.err = ctl.readAllStandardError().toStdString();
  return r;
}

}  // namespace vantor::e2e
