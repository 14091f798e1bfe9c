#include "app/data_dir.h"

namespace vantor {

std::string withTrailingSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir.push_back('/');
  return dir;
}

}  // namespace vantor
