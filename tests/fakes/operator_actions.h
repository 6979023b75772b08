#pragma once

#include <string>

#include "fakes/fake_control_panel.h"

// What the operator does to a dialog, as the window system reports it: change a
// control on the panel, then the dialog's notification for it. Works for any dialog
// logic with onTextChanged(id), onClicked(id) and onTimer().
namespace operator_actions {

template <class Dialog>
void typeInto(FakeControlPanel& panel, Dialog& dlg, int id, const std::string& text) {
  for (char c : text) {
    panel.typeInto(id, std::string(1, c));
    dlg.onTextChanged(id);
  }
}

template <class Dialog>
void replaceText(FakeControlPanel& panel, Dialog& dlg, int id, const std::string& text) {
  panel.replaceText(id, text);
  dlg.onTextChanged(id);
}

template <class Dialog>
void click(FakeControlPanel& panel, Dialog& dlg, int id) {
  panel.click(id);
  dlg.onClicked(id);
}

template <class Dialog>
void tick(Dialog& dlg, int times) {
  for (int i = 0; i < times; ++i) dlg.onTimer();
}

}  // namespace operator_actions
