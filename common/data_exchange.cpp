#include "common/data_exchange.h"

class DataExchange::Guard {
 public:
  explicit Guard(int& depth) : depth_(depth) { ++depth_; }
  ~Guard() { --depth_; }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  int& depth_;
};

DataExchange::DataExchange(ControlPanel& panel) : panel_(panel) {}

void DataExchange::bindText(int id, std::string& field, int maxChars) {
  bindings_.push_back(Binding{id, &field, nullptr, maxChars});
}

void DataExchange::bindSelection(int id, int& field) {
  bindings_.push_back(Binding{id, nullptr, &field, 0});
}

void DataExchange::load() {
  Guard guard(depth_);
  // The limits go to the controls once, at the first load that sees their binding:
  // setting one again would put the operator's text in again.
  for (; limitsApplied_ < bindings_.size(); ++limitsApplied_) {
    const Binding& b = bindings_[limitsApplied_];
    if (b.text != nullptr && b.maxChars > 0) panel_.setTextLimit(b.id, b.maxChars);
  }
  for (const Binding& b : bindings_) {
    if (b.text != nullptr) {
      panel_.setText(b.id, *b.text);
    } else {
      panel_.setChecked(b.id, *b.selection == 0);
    }
  }
}

bool DataExchange::store() {
  Guard guard(depth_);
  for (const Binding& b : bindings_) {
    if (b.text != nullptr) {
      std::string value = panel_.text(b.id);
      if (b.maxChars > 0 && value.size() > static_cast<std::size_t>(b.maxChars)) {
        panel_.showMessage("Please enter no more than " + std::to_string(b.maxChars) +
                           " characters.");
        panel_.setFocus(b.id);
        return false;
      }
      *b.text = std::move(value);
    } else {
      *b.selection = panel_.checked(b.id) ? 0 : -1;
    }
  }
  return true;
}
