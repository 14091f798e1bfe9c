#include "platform/default_data_dir.h"

#include <QStandardPaths>

#include "app/data_dir.h"

namespace vantor {

std::string defaultDataDir() {
#ifdef _WIN32
  return "c:/Harbo/";
#else
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return withTrailingSlash(base.toStdString() + "/Vantor");
#endif
}

}  // namespace vantor
