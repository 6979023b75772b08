#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/control_panel.h"

// The controls of a dialog as a map by id. "The operator types A into 1038" is:
// typeInto(1038, "A") then call the handler; "clicks 1031" is click(1031) (which shows
// the radio button checked, as the window system does) then call the handler.
class FakeControlPanel : public ControlPanel {
 public:
  std::string text(int id) const override {
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
  }
  void setText(int id, const std::string& text) override {
    texts_[id] = text;
    ++setTextCount_[id];
  }
  bool checked(int id) const override {
    auto it = checks_.find(id);
    return it != checks_.end() && it->second;
  }
  void setChecked(int id, bool on) override { checks_[id] = on; }
  void setTextLimit(int id, int maxChars) override { limits_[id] = maxChars; }
  void showMessage(const std::string& message) override { messages_.push_back(message); }
  void setFocus(int id) override { focus_ = id; }

  // Operator actions (they do not call handlers; the test does).
  void typeInto(int id, const std::string& text) { texts_[id] += text; }
  void replaceText(int id, const std::string& text) { texts_[id] = text; }
  void click(int id) { checks_[id] = true; }

  int textLimit(int id) const {
    auto it = limits_.find(id);
    return it == limits_.end() ? 0 : it->second;
  }
  int setTextCount(int id) const {
    auto it = setTextCount_.find(id);
    return it == setTextCount_.end() ? 0 : it->second;
  }
  const std::vector<std::string>& messages() const { return messages_; }
  int focus() const { return focus_; }

 private:
  std::map<int, std::string> texts_;
  std::map<int, bool> checks_;
  std::map<int, int> limits_;
  std::map<int, int> setTextCount_;
  std::vector<std::string> messages_;
  int focus_ = 0;
};
