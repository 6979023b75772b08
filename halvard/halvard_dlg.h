#pragma once

#include <filesystem>
#include <string>

#include "common/clock.h"
#include "common/control_panel.h"
#include "common/data_exchange.h"
#include "common/serial_port.h"
#include "common/settings_files.h"
#include "common/status_line.h"
#include "halvard/field_checks.h"
#include "halvard/halvard_files.h"
#include "halvard/save_report.h"
#include "halvard/test_email/test_email.h"

// Halvard's settings dialog without its window: the fields, the changed flags, and
// one method per event. The Qt view (halvard/view) owns the widgets, implements
// ControlPanel and forwards the operator's edits and clicks to onTextChanged() and
// onClicked(), the 100 ms timer to onTimer(), and the window's end to onDestroy().
class CHalvardDlg {
 public:
  struct Environment {
    SerialPort& mainPort;
    SerialPort& secondPort;
    Clock& clock;
    ControlPanel& panel;
    // Every message for the operator: which device a port name opened or why not, what
    // the port search found, a setting that could not be saved and when it finally was.
    StatusLine& status;
    std::filesystem::path workDir;
    // The settings files in workDir: those on disk unless given others.
    SettingsFiles& files = SettingsFiles::onDisk();
  };

  static constexpr int kPollPeriodMs = 100;

  explicit CHalvardDlg(const Environment& env);
  CHalvardDlg(const CHalvardDlg&) = delete;
  CHalvardDlg& operator=(const CHalvardDlg&) = delete;

  // --- events -------------------------------------------------------------------
  void startUp();               // dialog initialisation; the view starts its timer after it
  void onTextChanged(int id);   // an operator's edit; ignored while a data exchange runs
  void onClicked(int id);       // 1010, 1011
  void onTimer();               // the save pass, then what it changed on the status line
  void onDestroy();             // closes the main port

  void onPortSearchClicked();   // 1010
  void onEmailSwitchClicked();  // 1011
  // The test e-mail button (and its key): the fields as the controls hold them now go
  // to the test e-mail role, which runs beside the dialog. Without a role, nothing.
  void onTestEmailClicked();
  // The role that sends test e-mails; the view attaches it after construction. Must
  // outlive the dialog logic or be detached (nullptr) first.
  void attachTestEmail(TestEmail* role) { testEmail_ = role; }
  TestEmailSettings testEmailSettings() const;
  // Writes the file of every field whose changed flag is up, and lowers the flag once
  // that file is written: a write that fails is tried again at the next pass.
  void savePass();

  // --- data exchange ---------------------------------------------------------------
  void loadControls() { exchange_.load(); }
  bool storeControls() { return exchange_.store(); }
  bool exchanging() const { return exchange_.exchanging(); }

  // --- members, in the order of the data exchange (halvard_fields.h) ---------------
  std::string userName;
  std::string password;
  std::string waveLength;
  std::string waveFile;
  std::string toAddress;
  std::string subject;
  std::string serverName;
  std::string sender;
  std::string fromAddress;
  std::string commPort;
  int enableEmail = -1;
  std::string commPort2;
  std::string secondToAddress;
  std::string firstLine;

  // --- changed flags and program-wide state ------------------------------------------
  int serverNameChanged = 0;
  int userNameChanged = 0;
  int passwordChanged = 0;
  int senderChanged = 0;
  int fromAddressChanged = 0;
  int toAddressChanged = 0;
  int subjectChanged = 0;
  int waveFileChanged = 0;
  int waveLengthChanged = 0;
  int commPortChanged = 0;     // ./program/commport
  int sharedPortChanged = 0;   // ./commport: raised with commPortChanged, lowered on its own
  int secondToAddressChanged = 0;
  int firstLineChanged = 0;
  int emailSwitch = 0;
  int emailSwitchChanged = 0;  // the switch's byte is not stored yet: its write failed

  SerialPort& mainPort() { return env_.mainPort; }
  SerialPort& secondPort() { return env_.secondPort; }
  ControlPanel& panel() { return env_.panel; }
  StatusLine& status() { return env_.status; }
  const std::filesystem::path& workDir() const { return env_.workDir; }

 private:
  // Raises the flags of both port files.
  void markPortNameChanged();
  // One write of a flagged file; the flag is lowered only when it went through.
  void saveFile(int& changed, const char* file, const WriteResult& result);
  WriteResult writeEmailSwitch();

  Environment env_;
  HalvardFiles files_;
  SaveReport saveReport_;
  FieldChecks fieldChecks_;
  TestEmail* testEmail_ = nullptr;
  DataExchange exchange_;
};
