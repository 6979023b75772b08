#include "halvard/test_email/test_email.h"

#include <ctime>

TestEmail::TestEmail(Environment env) : env_(std::move(env)), self_(std::make_shared<TestEmail*>(this)) {}

TestEmail::~TestEmail() {
  cancel_ = true;
  join();
  *self_ = nullptr;
}

void TestEmail::join() {
  if (worker_.joinable()) worker_.join();
}

void TestEmail::start(const TestEmailSettings& settings) {
  if (running_) {
    env_.status.show("A test e-mail is already on its way: wait for its result, or Cancel it in its window");
    env_.view.bringToFront();
    return;
  }
  join();  // the last test's thread has posted its end; let it go
  running_ = true;
  cancel_ = false;
  TestEmailRunOptions options = env_.options;
  options.when = std::time(nullptr);
  lastReport_ = TestEmailReport{};
  show(lastReport_);
  env_.view.bringToFront();
  std::weak_ptr<TestEmail*> self = self_;
  DialogThread& back = env_.dialogThread;
  // Everything the thread touches is its own copy or lives as long as this role,
  // which joins the thread before it goes.
  worker_ = std::thread([this, settings, options, self, &back] {
    auto post = [&back, self](TestEmailReport report, bool last) {
      back.post([self, report = std::move(report), last] {
        std::shared_ptr<TestEmail*> role = self.lock();
        if (!role || *role == nullptr) return;
        if (last) (*role)->running_ = false;
        (*role)->show(report);
      });
    };
    TestEmailReport report = runTestEmail(settings, options, env_.transport, *env_.clock, cancel_,
                                          [&](const TestEmailReport& progress) { post(progress, false); });
    post(std::move(report), true);
  });
}

void TestEmail::cancel() {
  if (!running_) return;
  cancel_ = true;
  env_.status.show("Test e-mail: cancelling");
}

void TestEmail::show(const TestEmailReport& report) {
  lastReport_ = report;
  // Progress goes to the window; the status line gets the start and the verdict.
  bool verdict = report.result != TestEmailReport::Result::kRunning;
  if (verdict || report.activity.empty()) env_.status.show(summaryLine(report));
  env_.view.showReport(report);
}
