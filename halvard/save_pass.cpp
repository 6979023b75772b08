#include <string>

#include "halvard/halvard_dlg.h"
#include "halvard/halvard_fields.h"
#include "halvard/halvard_files.h"

void CHalvardDlg::savePass() {
  // A flag stays up until its file is written: a missing folder or a file held by the
  // mailer loses nothing, and the write is tried once more at each tick.
  for (int id : halvard_fields::saveOrder()) {
    const halvard_fields::Field& field = *halvard_fields::byId(id);
    if (this->*field.changed == 0) continue;
    // The password's file stays its owner's alone, whatever an earlier copy allowed.
    saveFile(this->*field.changed, field.file,
             files_.saveText(field.file, this->*field.text, field.newFileMode));
  }
  // The two port files hold the same 5 bytes but are saved each on its own: a missing
  // ./program folder must not make us rewrite ./commport, which Corvane also writes, at
  // every tick.
  for (auto [changed, file] : {std::pair{&commPortChanged, halvard_files::kMainPort},
                               std::pair{&sharedPortChanged, halvard_files::kSharedPort}}) {
    if (*changed == 0) continue;
    saveFile(*changed, file, files_.savePortName(file, commPort));
  }
  if (emailSwitchChanged != 0) saveFile(emailSwitchChanged, halvard_files::kProgramFlag, writeEmailSwitch());
  saveReport_.tell(status());
}

void CHalvardDlg::saveFile(int& changed, const char* file, const WriteResult& result) {
  if (result) {
    changed = 0;
    saveReport_.written(file);
  } else {
    saveReport_.failed(file, result);
  }
}
