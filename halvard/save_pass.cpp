#include <string>

#include "common/settings_file.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_fields.h"
#include "halvard/halvard_files.h"

void CHalvardDlg::savePass() {
  // A flag stays up until its file is written: a missing folder or a file held by the
  // mailer loses nothing, and the write is tried once more at each tick.
  for (int id : halvard_fields::saveOrder()) {
    const halvard_fields::Field& field = *halvard_fields::byId(id);
    if (this->*field.changed == 0) continue;
    // Written whole, however long: cutting it would silently lose what the operator
    // typed. The password's file stays its owner's alone, whatever an earlier copy allowed.
    WriteResult result =
        settings::replaceWhole(workDir() / field.file, this->*field.text, field.newFileMode);
    saveFile(this->*field.changed, field.file, result);
  }
  // The two port files hold the same 5 bytes but are saved each on its own: a missing
  // ./program folder must not make us rewrite ./commport, which Corvane also writes, at
  // every tick.
  const std::string bytes = halvard_files::portFileBytes(commPort);
  for (auto [changed, file] : {std::pair{&commPortChanged, halvard_files::kMainPort},
                               std::pair{&sharedPortChanged, halvard_files::kSharedPort}}) {
    if (*changed == 0) continue;
    saveFile(*changed, file,
             settings::writeInPlace(workDir() / file, bytes, settings::OpenMode::kOpenAlways));
  }
  if (emailSwitchChanged != 0) saveFile(emailSwitchChanged, halvard_files::kProgramFlag, writeEmailSwitch());
  saveReport_.tell(status());
}

void CHalvardDlg::saveFile(int& changed, const char* file, const WriteResult& result) {
  if (result) {
    changed = 0;
    saveReport_.written(file);
  } else {
    saveReport_.failed(file, result, workDir());
  }
}
