#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/control_panel.h"

// The dialog data exchange: a table of bindings between the dialog's fields and its
// controls, visited in the table's order.
//
// A selection field is an integer: 0 means the radio button is shown selected, any
// other value shown clear. store() writes 0 or -1.
//
// While load() or store() runs, exchanging() is true and the dialog's notification
// entry points ignore control notifications, so text that the program itself puts
// into a control never runs a handler.
class DataExchange {
 public:
  struct Binding {
    int id;
    std::string* text = nullptr;  // exactly one of text and selection is set
    int* selection = nullptr;
    int maxChars = 0;             // text only: 0 no limit; more fails store()
  };

  // The panel and the fields behind the bindings must outlive the exchange.
  explicit DataExchange(ControlPanel& panel);

  void bindText(int id, std::string& field, int maxChars = 0);
  void bindSelection(int id, int& field);

  // Fields to controls. The first load also applies the text limits to the controls
  // (a binding added later gets its limit at the next load); later loads leave them.
  void load();
  // Controls to fields. A text longer than its limit fails the store: the operator
  // sees "Please enter no more than N characters.", the focus goes to that control,
  // and the fields after it keep their values. Returns whether the store succeeded.
  bool store();

  bool exchanging() const { return depth_ > 0; }

 private:
  class Guard;
  ControlPanel& panel_;
  std::vector<Binding> bindings_;
  std::size_t limitsApplied_ = 0;  // bindings_ before this index have their limit set
  int depth_ = 0;
};
