#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

#include "fakes/virtual_clock.h"
#include "halvard/test_email/mail_transport.h"

// A MailTransport that plays a scripted outcome per port and keeps every job it was
// given. Each attempt takes takesMs of the virtual clock. hold() makes send() wait
// until release(), so a test can act while a test e-mail is on its way.
class FakeMailTransport : public MailTransport {
 public:
  explicit FakeMailTransport(VirtualClock* clock = nullptr) : clock_(clock) {}

  // A server that takes the mail: greeting, EHLO, login when asked, each recipient,
  // the message with a queue id.
  static AttemptOutcome accepting(const MailJob& job) {
    AttemptOutcome o;
    o.address = "192.0.2.25";
    o.port = job.route.port;
    o.resolvedAtMs = 3;
    o.connectedAtMs = 5;
    o.tls.used = true;
    o.tls.version = "TLSv1.3";
    o.tls.subject = "CN=mail.example.com";
    o.tls.issuer = "CN=Example CA";
    o.tlsDoneAtMs = 9;
    std::vector<std::pair<bool, std::string>> talk{{true, "220 mail.example.com ESMTP"},
                                                   {false, "EHLO bench"},
                                                   {true, "250-mail.example.com"},
                                                   {true, "250 AUTH PLAIN"}};
    if (!job.userName.empty())
      talk.insert(talk.end(), {{false, "AUTH PLAIN (hidden)"}, {true, "235 2.7.0 ok"}});
    talk.push_back({false, "MAIL FROM:<" + job.envelopeFrom + ">"});
    talk.push_back({true, "250 ok"});
    for (const std::string& to : job.recipients) {
      talk.push_back({false, "RCPT TO:<" + to + ">"});
      talk.push_back({true, "250 ok"});
    }
    talk.insert(talk.end(), {{false, "DATA"}, {true, "354 go on"}, {true, "250 2.0.0 queued as 4XQ"}});
    std::int64_t at = 10;
    for (auto& [server, text] : talk) o.lines.push_back(SmtpLine{server, text, at++});
    return o;
  }
  static AttemptOutcome failing(Failure failure, std::string detail = {}) {
    AttemptOutcome o;
    o.failure = failure;
    o.detail = std::move(detail);
    o.address = "192.0.2.25";
    o.resolvedAtMs = 3;
    return o;
  }

  std::map<int, AttemptOutcome> byPort;  // a port without an outcome: accepting()
  std::vector<MailJob> jobs;
  int takesMs = 0;

  void hold() { held_ = true; }
  void release() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = false;
    wake_.notify_all();
  }

  AttemptOutcome send(const MailJob& job, const std::atomic<bool>&,
                      const std::function<void(const SmtpLine&)>&) override {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return !held_; });
    jobs.push_back(job);
    if (clock_ != nullptr) clock_->advance(takesMs);
    auto it = byPort.find(job.route.port);
    return it != byPort.end() ? it->second : accepting(job);
  }

 private:
  VirtualClock* clock_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool held_ = false;
};
