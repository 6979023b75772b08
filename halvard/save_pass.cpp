#include <string>

#include "common/settings_file.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_fields.h"
#include "halvard/halvard_files.h"

void CHalvardDlg::savePass() {
  // Each flag is cleared before its write: a write that fails (missing folder, file
  // held by the mailer) is not retried, and the field's next edit saves it.
  for (int id : halvard_fields::saveOrder()) {
    const halvard_fields::Field& field = *halvard_fields::byId(id);
    if (this->*field.changed == 0) continue;
    this->*field.changed = 0;
    // Written whole, however long: cutting it would silently lose what the operator typed.
    settings::replaceWhole(workDir() / field.file, this->*field.text, field.newFileMode);
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
