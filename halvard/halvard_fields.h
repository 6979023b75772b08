#pragma once

#include <sys/types.h>

#include <cstddef>
#include <span>
#include <string>

#include "halvard/halvard_dlg.h"

// Every field of Halvard's dialog in one table: its control, its member, its changed
// flag and the file it is saved to and read back from. The rows are in the order of
// the data exchange. Start-up reads the files, and the save pass writes them, each in
// an order of its own: readOrder() and saveOrder() name the files and fields in it.
namespace halvard_fields {

// How the bytes of a file come back into its field at start-up.
enum class Read {
  kAsStored,       // every byte, line ends and other control bytes included
  kPrintableOnly,  // only 0x20 to 0x7F; the rest are skipped
};

struct Field {
  int id;                                        // its control
  std::string CHalvardDlg::*text = nullptr;      // a text field, or
  int CHalvardDlg::*selection = nullptr;         // the radio field
  int CHalvardDlg::*changed = nullptr;           // raised by an edit; none for the radio field
  const char* file = nullptr;                    // its e-mail file; none for the port name and the radio
  std::size_t readBytes = 0;                     // how much of file comes back at start-up
  Read read = Read::kAsStored;
  mode_t newFileMode = 0666;                     // a file the save pass creates
  const char* leadingFile = nullptr;             // read into the field before its own file
};

// The fields in the order of the data exchange.
std::span<const Field> all();

// The field of a control, or nullptr.
const Field* byId(int id);

// The field that the file is read into at start-up (as its own file or its leading
// file), or nullptr.
const Field* byReadFile(const char* file);

// The e-mail files in the order start-up reads them.
std::span<const char* const> readOrder();

// The edits whose files the save pass writes, in its order; the port name, saved into
// two files of its own, comes after them.
std::span<const int> saveOrder();

}  // namespace halvard_fields
