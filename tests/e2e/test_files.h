#pragma once
// Files of the end-to-end tests: read and written whole, and a table file
// with one line replaced.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <string>

namespace vantor::e2e {

inline std::string readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

inline void writeFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Replaces one whole line of a table file (its CR LF kept).
inline std::string withLine(std::string file, const std::string& line,
                            const std::string& replacement) {
  const size_t at = file.find("\r\n" + line + "\r\n");
  EXPECT_NE(at, std::string::npos) << line;
  if (at != std::string::npos) file.replace(at + 2, line.size(), replacement);
  return file;
}

}  // namespace vantor::e2e
