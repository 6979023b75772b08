#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "common/clock.h"
#include "common/status_line.h"
#include "halvard/test_email/dialog_thread.h"
#include "halvard/test_email/mail_transport.h"
#include "halvard/test_email/test_email_report.h"
#include "halvard/test_email/test_email_run.h"
#include "halvard/test_email/test_email_settings.h"

// Where the result of a test e-mail is shown besides the status line: the view's
// result window. Called on the dialog's thread only.
class TestEmailView {
 public:
  virtual ~TestEmailView() = default;
  virtual void showReport(const TestEmailReport& report) = 0;
  // Shows the window and puts it in front: at the operator's click only, so a window
  // the operator closed stays closed while its test goes on.
  virtual void bringToFront() = 0;
};

// The "Send a test e-mail" role: one test at a time, run on a thread of its own so the
// dialog's save pass and edits go on; its progress and result come back through the
// DialogThread to the view and to the status line. The password is in no message.
class TestEmail {
 public:
  struct Environment {
    MailTransport& transport;  // used from the test's thread
    DialogThread& dialogThread;
    StatusLine& status;
    TestEmailView& view;
    // A clock for the test's thread alone (its stopwatch times the bound).
    std::unique_ptr<Clock> clock;
    TestEmailRunOptions options;  // bound, connect time-out, host name; the date is taken at start
  };

  explicit TestEmail(Environment env);
  // Cancels a test that still runs and waits for its thread (about a second at most).
  ~TestEmail();
  TestEmail(const TestEmail&) = delete;
  TestEmail& operator=(const TestEmail&) = delete;

  // The operator asked for a test with these fields. While one runs, it only says so.
  void start(const TestEmailSettings& settings);
  // Ends a running test as soon as the transport can; its report says "cancelled".
  void cancel();
  bool running() const { return running_; }
  const TestEmailReport& lastReport() const { return lastReport_; }

  // Waits until the test's thread has ended (its last report may still be posted).
  void join();

 private:
  void show(const TestEmailReport& report);

  Environment env_;
  bool running_ = false;  // dialog's thread only
  std::atomic<bool> cancel_{false};
  std::thread worker_;
  TestEmailReport lastReport_;
  // Lets tasks posted by an ended test's thread find out the role is gone.
  std::shared_ptr<TestEmail*> self_;
};
