#include <sys/types.h>

#include "common/settings_file.h"
#include "halvard/control_ids.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_files.h"

namespace {

constexpr int kMarkSettleMs = 100;

// The text files in the order the save pass visits them. The port name is saved
// last, into two files, and is handled on its own.
struct SavedText {
  int id;
  int CHalvardDlg::*flag;
  const char* path;
  std::string CHalvardDlg::*member;
  mode_t newFileMode;
};

constexpr mode_t kText = halvard_files::kTextFileMode;

constexpr SavedText kSavedTexts[] = {
    {halvard_ids::kServerName, &CHalvardDlg::serverNameChanged, halvard_files::kServerName,
     &CHalvardDlg::serverName, kText},
    {halvard_ids::kFromAddress, &CHalvardDlg::fromAddressChanged, halvard_files::kFromAddress,
     &CHalvardDlg::fromAddress, kText},
    {halvard_ids::kPassword, &CHalvardDlg::passwordChanged, halvard_files::kPassword,
     &CHalvardDlg::password, halvard_files::kPasswordFileMode},
    {halvard_ids::kToAddress, &CHalvardDlg::toAddressChanged, halvard_files::kToAddress,
     &CHalvardDlg::toAddress, kText},
    {halvard_ids::kSecondToAddress, &CHalvardDlg::secondToAddressChanged,
     halvard_files::kSecondToAddress, &CHalvardDlg::secondToAddress, kText},
    {halvard_ids::kFirstLine, &CHalvardDlg::firstLineChanged, halvard_files::kFirstLine,
     &CHalvardDlg::firstLine, kText},
    {halvard_ids::kSubject, &CHalvardDlg::subjectChanged, halvard_files::kSubject,
     &CHalvardDlg::subject, kText},
    {halvard_ids::kWaveFile, &CHalvardDlg::waveFileChanged, halvard_files::kWaveFile,
     &CHalvardDlg::waveFile, kText},
    {halvard_ids::kWaveLength, &CHalvardDlg::waveLengthChanged, halvard_files::kWaveLength,
     &CHalvardDlg::waveLength, kText},
    {halvard_ids::kSender, &CHalvardDlg::senderChanged, halvard_files::kSender,
     &CHalvardDlg::sender, kText},
    {halvard_ids::kUserName, &CHalvardDlg::userNameChanged, halvard_files::kUserName,
     &CHalvardDlg::userName, kText},
};

int CHalvardDlg::*flagFor(int id) {
  if (id == halvard_ids::kCommPort) return &CHalvardDlg::commPortChanged;
  for (const SavedText& saved : kSavedTexts) {
    if (saved.id == id) return saved.flag;
  }
  return nullptr;
}

}  // namespace

void CHalvardDlg::onTextChanged(int id) {
  if (exchanging()) return;
  int CHalvardDlg::*flag = flagFor(id);
  if (flag == nullptr) return;
  this->*flag = 1;
  env_.clock.pauseMs(kMarkSettleMs);
  storeControls();
}

void CHalvardDlg::onTimer() {
  // Each flag is cleared before its write: a write that fails (missing folder, file
  // held by the mailer) is not retried, and the field's next edit saves it.
  for (const SavedText& saved : kSavedTexts) {
    if (this->*saved.flag == 0) continue;
    this->*saved.flag = 0;
    // Written whole, however long: cutting it would silently lose what the operator typed.
    settings::replaceWhole(workDir() / saved.path, this->*saved.member, saved.newFileMode);
  }
  if (commPortChanged != 0) {
    commPortChanged = 0;
    std::string bytes = halvard_files::portFileBytes(commPort);
    settings::writeInPlace(workDir() / halvard_files::kMainPort, bytes,
                           settings::OpenMode::kOpenAlways);
    settings::writeInPlace(workDir() / halvard_files::kSharedPort, bytes,
                           settings::OpenMode::kOpenAlways);
  }
}
