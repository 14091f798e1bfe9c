#pragma once
// One part of a device snapshot (the parameter tables, the configuration
// blocks, ...): how it is read from the device, kept in its file, checked,
// compared and written back. A part uses the features the window's pages use,
// so a snapshot file is the very file the page saves and loads.
#include <optional>
#include <string>
#include <vector>

#include "app/snapshot_cells.h"
#include "config/file_bytes.h"
#include "link/bytes.h"

namespace vantor {

class SnapshotPart {
 public:
  virtual ~SnapshotPart() = default;

  // The part's name on the command line and in the manifest ("tables").
  virtual std::string name() const = 0;
  // Its file in the snapshot folder, and the most of it that is read.
  virtual std::string fileName() const = 0;
  virtual FileLimit fileLimit() const = 0;

  // Queues the requests that read the part from the device.
  virtual void startRead() = 0;
  // Told of every reply while reading; true once the whole part has arrived.
  virtual bool readComplete(int code) = 0;

  // Writes what was read into the file at path; false with the reason.
  virtual bool saveFile(const std::string& path, std::string& error) = 0;
  // Takes a file's bytes with the page's own checks against what was read;
  // false with the reason (then nothing may be written from it).
  virtual bool takeFile(const std::string& path, ByteView bytes, std::string& error) = 0;

  // The named values of a file of this part; nothing, with the reason, when
  // the bytes are not such a file.
  virtual std::optional<NamedCells> fileCells(ByteView bytes, std::string& error) const = 0;

  // Each value where the file taken and the device as last read differ,
  // named in the device's own words.
  std::vector<CellDifference> differences() const {
    return cellDifferences(name(), deviceCells_, fileCells_);
  }
  // After a write: the differences in what the file holds, which is what was
  // written (a device may hold more, such as products past the file's).
  std::vector<CellDifference> writtenDifferences() const {
    return cellDifferences(name(), cellsNamedIn(deviceCells_, fileCells_), fileCells_);
  }

  // Queues the writes of the file taken, followed by a read of the part.
  virtual void startWrite() = 0;
  // Told of every reply while writing; true once the part was written and read back.
  virtual bool writeComplete(int code) = 0;

 protected:
  // The device's values have arrived: the file they would be saved as.
  void deviceRead(ByteView deviceFile) { deviceCells_ = cellsOf(deviceFile); }
  // A file was taken: its bytes as they stand.
  void fileTaken(ByteView file) { fileCells_ = cellsOf(file); }

 private:
  NamedCells cellsOf(ByteView bytes) const {
    std::string ignored;
    return fileCells(bytes, ignored).value_or(NamedCells{});
  }

  NamedCells deviceCells_;
  NamedCells fileCells_;
};

}  // namespace vantor
