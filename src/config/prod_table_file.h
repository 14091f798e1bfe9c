#pragma once
// ProdTableFile: the product store as a semicolon-separated text file, the
// product table turned on its side: one line per field, one column per
// product. Every cell, the last one included, is followed by ";"; cells are
// not quoted; lines end in CR LF.
//
//   line 0          name of field 0 ; the product numbers 0 .. ProdCount-1 ;
//   line k < IC     name of field k ; integer field k of each product, signed decimal ;
//   line IC + f     name of field IC+f ; text field f of each product, as stored ;
//
// Cell c (c >= 1) of every line belongs to product c - 1. Reading matches
// products by column and fields by line; the names are only compared.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_bytes.h"
#include "config/prod_store.h"

namespace vantor {

// 500 products of 100 cells of 199 characters stay below 10 MB.
inline constexpr FileLimit kProdTableFileLimit{16u << 20, "a product file"};

// The whole file as "Save Product" writes it.
std::string prodTableFileText(const ProdStore& store);
// One line per text that would not read back as it is: it holds ";" or a line
// end ("Product 3, Descricao: the text holds \";\" and does not read back as it is").
std::vector<std::string> prodTableFileWarnings(const ProdStore& store);

// Reads a file fed to it in pieces of any size into the store's products, and
// collects the messages the window appends to Memo9.
//
// A name cell that differs from the device's field at its line gives
// "Not found->> NAME" (the line is loaded all the same); a line past the
// device's fields gives the same and is not loaded. A cell of an integer line
// that is not a decimal 32-bit number, or lies outside its field's limits, is
// not loaded and named with its line (counted from 1), its product and its
// field; a text longer than its field holds is cut and named likewise.
// Columns past the products the device holds are not loaded and counted in one
// message; cells over kMaxCell characters are cut to it and reported once.
// Text after the last ";" of a line is reported and ignored. CR LF and LF line
// ends read alike; a CR elsewhere ends a cell.
//
// Every message except the count line that the file group adds names
// something the file holds that was not loaded as it stands (problems()).
class ProdTableFileReader {
 public:
  static constexpr size_t kMaxCell = 199;
  static constexpr size_t kMaxMessages = 200;  // kept of one file

  explicit ProdTableFileReader(ProdStore& store);

  void feed(std::string_view bytes);
  // The end of the file: a last line without a line end is read as well.
  void finish();

  // Product columns in the file (cells after the name in line 0).
  size_t productsInFile() const { return productsInFile_; }
  // Messages of things not loaded as they stand, kept or not.
  size_t problems() const { return messages_.size() + notKept_; }
  // The first kMaxMessages messages, and how many more there were.
  const std::vector<std::string>& messages() const { return messages_; }
  size_t messagesNotKept() const { return notKept_; }

 private:
  void put(char c);
  void endCell();
  void endLine();
  void nameCell();
  void valueCell(size_t product);
  void message(std::string text);

  ProdStore& store_;
  size_t limit_;  // products the store takes from the file
  std::string cell_;
  bool cellCut_ = false;
  bool pendingCr_ = false;
  size_t line_ = 0;    // L, counted from 0
  size_t column_ = 0;  // c
  bool lineKnown_ = false;
  size_t productsInFile_ = 0;
  bool cutReported_ = false;
  std::vector<std::string> messages_;
  size_t notKept_ = 0;
};

}  // namespace vantor
