#include "halvard/halvard_fields.h"

#include <iterator>
#include <string_view>

#include "halvard/control_ids.h"
#include "halvard/halvard_files.h"

namespace halvard_fields {
namespace {

using D = CHalvardDlg;
namespace ids = halvard_ids;
namespace files = halvard_files;
constexpr std::size_t kText = files::kTextReadBytes;

constexpr Field textField(int id, std::string D::*text, int D::*changed, const char* file,
                          std::size_t readBytes = kText) {
  Field field{};
  field.id = id;
  field.text = text;
  field.changed = changed;
  field.file = file;
  field.readBytes = file == nullptr ? 0 : readBytes;
  return field;
}
constexpr Field radioField(int id, int D::*selection) {
  Field field{};
  field.id = id;
  field.selection = selection;
  return field;
}
constexpr Field printableOnly(Field field) {
  field.read = Read::kPrintableOnly;
  return field;
}
constexpr Field ownerOnly(Field field) {
  field.newFileMode = files::kPasswordFileMode;
  return field;
}
constexpr Field after(const char* leadingFile, Field field) {
  field.leadingFile = leadingFile;
  return field;
}

// No text field has a text limit. USER NAME begins with the text of user.txt, which
// is written outside this program; saving the field puts that text into
// username.txt as well.
constexpr Field kFields[] = {
    after(files::kUserPrefix,
          textField(ids::kUserName, &D::userName, &D::userNameChanged, files::kUserName)),
    ownerOnly(textField(ids::kPassword, &D::password, &D::passwordChanged, files::kPassword)),
    textField(ids::kWaveLength, &D::waveLength, &D::waveLengthChanged, files::kWaveLength),
    textField(ids::kWaveFile, &D::waveFile, &D::waveFileChanged, files::kWaveFile),
    textField(ids::kToAddress, &D::toAddress, &D::toAddressChanged, files::kToAddress),
    printableOnly(textField(ids::kSubject, &D::subject, &D::subjectChanged, files::kSubject)),
    printableOnly(
        textField(ids::kServerName, &D::serverName, &D::serverNameChanged, files::kServerName)),
    textField(ids::kSender, &D::sender, &D::senderChanged, files::kSender),
    textField(ids::kFromAddress, &D::fromAddress, &D::fromAddressChanged, files::kFromAddress),
    textField(ids::kCommPort, &D::commPort, &D::commPortChanged, nullptr),  // two port files
    radioField(ids::kEnableEmail, &D::enableEmail),
    textField(ids::kSecondToAddress, &D::secondToAddress, &D::secondToAddressChanged,
              files::kSecondToAddress),
    textField(ids::kFirstLine, &D::firstLine, &D::firstLineChanged, files::kFirstLine,
              files::kFirstLineReadBytes),
};

// Start-up reads user.txt before username.txt: USER NAME is the two texts joined.
constexpr const char* kReadOrder[] = {
    files::kSubject,    files::kServerName,       files::kFromAddress, files::kSender,
    files::kToAddress,  files::kSecondToAddress,  files::kUserPrefix,  files::kFirstLine,
    files::kWaveFile,   files::kWaveLength,       files::kPassword,    files::kUserName,
};

// The save pass, one file per raised flag.
constexpr int kSaveOrder[] = {
    ids::kServerName, ids::kFromAddress, ids::kPassword, ids::kToAddress,
    ids::kSecondToAddress, ids::kFirstLine, ids::kSubject, ids::kWaveFile,
    ids::kWaveLength, ids::kSender, ids::kUserName,
};

constexpr bool same(const char* a, const char* b) {
  return a != nullptr && b != nullptr && std::string_view(a) == b;
}

// Each e-mail file is read once and saved once, and every name in the two orders is
// in the table: a field added to one list only would silently never be saved.
constexpr bool ordersMatchTheTable() {
  for (const Field& field : kFields) {
    if (field.file == nullptr) continue;
    int reads = 0;
    int saves = 0;
    for (const char* file : kReadOrder) reads += same(file, field.file) + same(file, field.leadingFile);
    for (int id : kSaveOrder) saves += id == field.id;
    if (reads != (field.leadingFile == nullptr ? 1 : 2) || saves != 1) return false;
  }
  std::size_t withFile = 0;
  std::size_t leading = 0;
  for (const Field& field : kFields) {
    withFile += field.file != nullptr;
    leading += field.leadingFile != nullptr;
  }
  return std::size(kReadOrder) == withFile + leading && std::size(kSaveOrder) == withFile;
}
static_assert(ordersMatchTheTable());

}  // namespace

std::span<const Field> all() { return kFields; }

const Field* byId(int id) {
  for (const Field& field : kFields) {
    if (field.id == id) return &field;
  }
  return nullptr;
}

const Field* byReadFile(const char* file) {
  for (const Field& field : kFields) {
    if (same(field.file, file) || same(field.leadingFile, file)) return &field;
  }
  return nullptr;
}

std::span<const char* const> readOrder() { return kReadOrder; }
std::span<const int> saveOrder() { return kSaveOrder; }

}  // namespace halvard_fields
