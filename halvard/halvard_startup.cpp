#include <cstddef>

#include "common/settings_file.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_files.h"
#include "halvard/port_wake_up.h"

namespace {

constexpr int kSettleMs = 100;
constexpr std::size_t kDiscardReadBytes = 100;

// The e-mail settings in the order they are read. USER NAME appears twice: the text
// of user.txt, then that of username.txt appended to it.
struct EmailFile {
  const char* path;
  std::string CHalvardDlg::*member;
  std::size_t maxBytes;
  bool printableOnly;
};

constexpr EmailFile kEmailFiles[] = {
    {halvard_files::kSubject, &CHalvardDlg::subject, halvard_files::kTextReadBytes, true},
    {halvard_files::kServerName, &CHalvardDlg::serverName, halvard_files::kTextReadBytes, true},
    {halvard_files::kFromAddress, &CHalvardDlg::fromAddress, halvard_files::kTextReadBytes, false},
    {halvard_files::kSender, &CHalvardDlg::sender, halvard_files::kTextReadBytes, false},
    {halvard_files::kToAddress, &CHalvardDlg::toAddress, halvard_files::kTextReadBytes, false},
    {halvard_files::kSecondToAddress, &CHalvardDlg::secondToAddress,
     halvard_files::kTextReadBytes, false},
    {halvard_files::kUserPrefix, &CHalvardDlg::userName, halvard_files::kTextReadBytes, false},
    {halvard_files::kFirstLine, &CHalvardDlg::firstLine, halvard_files::kFirstLineReadBytes,
     false},
    {halvard_files::kWaveFile, &CHalvardDlg::waveFile, halvard_files::kTextReadBytes, false},
    {halvard_files::kWaveLength, &CHalvardDlg::waveLength, halvard_files::kTextReadBytes, false},
    {halvard_files::kPassword, &CHalvardDlg::password, halvard_files::kTextReadBytes, false},
    {halvard_files::kUserName, &CHalvardDlg::userName, halvard_files::kTextReadBytes, false},
};

}  // namespace

void CHalvardDlg::startUp() {
  // The second port is only held, never read: opening it keeps whatever is on it
  // from being taken for the module by the port search.
  commPort2 = halvard_files::readPortName(workDir() / halvard_files::kSecondPort);
  wakeUpPort(secondPort(), commPort2);

  commPort = halvard_files::readPortName(workDir() / halvard_files::kMainPort);
  wakeUpPort(mainPort(), commPort);
  env_.clock.pauseMs(kSettleMs);
  mainPort().readAvailable(kDiscardReadBytes);  // the module's answer to the CRs

  for (const EmailFile& file : kEmailFiles) {
    std::string bytes =
        settings::readFile(workDir() / file.path, file.maxBytes, settings::OpenMode::kOpenExisting);
    this->*file.member += file.printableOnly ? halvard_files::keepPrintable(bytes) : bytes;
  }

  std::string flag =
      settings::readFile(workDir() / halvard_files::kProgramFlag, 1, settings::OpenMode::kOpenAlways);
  bool on = !flag.empty() && flag[0] == halvard_files::kEmailOn;
  enableEmail = on ? 0 : 1;
  emailSwitch = on ? 1 : 0;

  loadControls();
}
