#pragma once

#include <string>

// The dumb accessor of a dialog's controls by id. The Qt view implements it over
// its widgets, tests over a map. Setting a control never runs a handler: handlers
// are reached only through the operator's own edits and clicks.
class ControlPanel {
 public:
  virtual ~ControlPanel() = default;

  virtual std::string text(int id) const = 0;
  // Sets the text of an edit; the view leaves the widget alone when it is unchanged.
  virtual void setText(int id, const std::string& text) = 0;
  virtual bool checked(int id) const = 0;
  virtual void setChecked(int id, bool on) = 0;
  // Limits how many characters the operator can enter into an edit (0: no limit).
  virtual void setTextLimit(int id, int maxChars) = 0;
  // A modal notice to the operator, such as a failed validation of an edit.
  virtual void showMessage(const std::string& message) = 0;
  virtual void setFocus(int id) = 0;
};
