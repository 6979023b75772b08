#include "corvane/corvane_dlg.h"

// The telephone number edit (1000): every keystroke rewrites "./telephonenumber".
void CCorvaneDlg::onTelephoneNumberChanged() {
  storeControls();
  saveTelephoneNumberFile();
}
