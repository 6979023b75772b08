#pragma once

#include <string>
#include <vector>

// A dialog described as data, as a dialog template describes it: one row
// per control in tab order, with its rectangle in dialog units. TemplateDialog builds
// the widgets from it.

enum class ControlKind {
  kEdit,           // one line, scrolls horizontally
  kMultiLineEdit,  // word-wrapped, with a vertical scroll bar
  kPushButton,
  kRadioButton,    // an automatic radio button alone in its group
  kLabel,          // static text: wraps at word boundaries, top left
  kGroupBox,
};

struct ControlSpec {
  static constexpr int kNoId = -1;

  int id = kNoId;
  ControlKind kind = ControlKind::kLabel;
  int x = 0;  // dialog units
  int y = 0;
  int width = 0;
  int height = 0;
  std::string caption;
  // Buttons only: the caption wraps inside the control's rectangle.
  bool multiLine = false;
  // For edits, which carry no caption: the text of the label that names them.
  std::string accessibleName = {};
};

struct DialogTemplate {
  std::string caption;
  int width = 0;  // dialog units, of the client area
  int height = 0;
  // "Corvane": names the About entry, the About box and message boxes.
  std::string programName;
  std::vector<ControlSpec> controls;
  // The control that takes the room when the window is made larger than the template
  // (the "message received" display); kNoId: the window grows no larger.
  int growingControl = ControlSpec::kNoId;
};
