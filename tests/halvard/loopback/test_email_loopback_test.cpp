#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "common/steady_clock.h"
#include "halvard/bench_mail_settings.h"
#include "halvard/test_email/curl_transport.h"
#include "halvard/test_email/test_email_run.h"
#include "loopback_servers.h"

namespace {

// The real transport against the servers of smtp_servers.py, trusting their own
// authority. Each test reads the report as the operator would, and the mail as its
// recipient would.
class TestEmailLoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(servers.ready()) << "the loopback SMTP servers did not start"; }

  TestEmailSettings settingsFor(const std::string& server) const {
    TestEmailSettings s = benchMailSettings(server, LoopbackServers::kUser, LoopbackServers::kPassword);
    s.sender = "Alarm panel";
    s.subject = "Alarm from the ZM40";
    s.firstLine = "Zone 3 burglary at the warehouse";
    return s;
  }

  TestEmailReport send(const TestEmailSettings& settings, int boundMs = 30000) {
    TestEmailRunOptions options;
    options.boundMs = boundMs;
    options.hostName = "bench.example.com";
    options.when = 1750000000;
    SteadyClock clock;
    return runTestEmail(settings, options, transport, clock, cancel, [](const TestEmailReport&) {});
  }

  static std::string text(const TestEmailReport& report) {
    std::string all;
    for (const std::string& line : reportLines(report)) all += line + "\n";
    return all;
  }
  static const Stage* stage(const TestEmailReport& report, const std::string& name, StageVerdict verdict) {
    for (const Stage& s : report.attempts.back().stages) {
      if (s.name == name && s.verdict == verdict) return &s;
    }
    return nullptr;
  }
  std::string local(const char* name) const { return "localhost:" + std::to_string(servers.port(name)); }

  LoopbackServers servers;
  CurlTransport transport{servers.caFile()};
  std::atomic<bool> cancel{false};
};

TEST_F(TestEmailLoopbackTest, StartTlsServerTakesTheMailRefusesOneRecipientAndAWrongPassword) {
  TestEmailReport ok = send(settingsFor(local("starttls")));
  ASSERT_EQ(ok.result, TestEmailReport::Result::kDelivered) << text(ok);
  const Stage* tls = stage(ok, "TLS", StageVerdict::kPassed);
  ASSERT_NE(tls, nullptr) << text(ok);
  EXPECT_NE(tls->text.find("TLSv1."), std::string::npos) << tls->text;
  EXPECT_NE(tls->text.find("CN=localhost, issued by CN=Halvard Test CA"), std::string::npos) << tls->text;
  EXPECT_NE(stage(ok, "Login", StageVerdict::kPassed), nullptr) << text(ok);
  EXPECT_NE(summaryLine(ok).find("queued as HALV0001"), std::string::npos) << summaryLine(ok);

  TestEmailSettings oneRefused = settingsFor(local("starttls"));
  oneRefused.secondToAddress = LoopbackServers::kRefused;
  TestEmailReport partly = send(oneRefused);
  EXPECT_EQ(partly.result, TestEmailReport::Result::kDelivered) << text(partly);
  const Stage* refused = stage(partly, "Recipient", StageVerdict::kFailed);
  ASSERT_NE(refused, nullptr) << text(partly);
  EXPECT_NE(refused->text.find("<refused@example.com> refused: 550"), std::string::npos) << refused->text;

  TestEmailSettings wrong = settingsFor(local("starttls"));
  wrong.password = "not-the-password";
  TestEmailReport denied = send(wrong);
  EXPECT_EQ(denied.result, TestEmailReport::Result::kFailed);
  const Stage* login = stage(denied, "Login", StageVerdict::kFailed);
  ASSERT_NE(login, nullptr) << text(denied);
  EXPECT_NE(login->text.find("535"), std::string::npos) << login->text;

  auto mails = servers.mails();
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_EQ(mails[0]["envelope_from"], "panel@example.com");
  EXPECT_EQ(mails[0]["from"], "Alarm panel <panel@example.com>");
  EXPECT_EQ(mails[0]["to"], "ops@example.com, night@example.com");
  EXPECT_EQ(mails[0]["rcpt_tos"], nlohmann::json({"ops@example.com", "night@example.com"}));
  EXPECT_EQ(mails[0]["subject"], "Alarm from the ZM40");
  EXPECT_EQ(mails[0]["first_line"], "Zone 3 burglary at the warehouse");
  EXPECT_NE(mails[0]["body"].get<std::string>().find("test e-mail sent by Halvard on bench.example.com"),
            std::string::npos);
  // The other recipient still got the mail.
  EXPECT_EQ(mails[1]["rcpt_tos"], nlohmann::json({"ops@example.com"}));

  for (const TestEmailReport* report : {&ok, &partly, &denied}) {
    EXPECT_EQ(text(*report).find(LoopbackServers::kPassword), std::string::npos);
    EXPECT_EQ(text(*report).find("AGFsYXJt"), std::string::npos);  // the PLAIN token
  }
}

TEST_F(TestEmailLoopbackTest, TlsFromTheStartIsVerifiedAndNoPasswordGoesWithoutIt) {
  TestEmailReport ok = send(settingsFor("smtps://localhost:" + std::to_string(servers.port("implicit"))));
  EXPECT_EQ(ok.result, TestEmailReport::Result::kDelivered) << text(ok);

  TestEmailReport selfSigned =
      send(settingsFor("smtps://127.0.0.1:" + std::to_string(servers.port("selfsigned"))));
  EXPECT_EQ(selfSigned.result, TestEmailReport::Result::kFailed);
  const Stage* tls = stage(selfSigned, "TLS", StageVerdict::kFailed);
  ASSERT_NE(tls, nullptr) << text(selfSigned);
  EXPECT_NE(tls->text.find("certificate refused: it is self-signed"), std::string::npos) << tls->text;
  EXPECT_NE(tls->text.find("certificate CN=127.0.0.1"), std::string::npos) << tls->text;

  TestEmailReport plain = send(settingsFor(local("plain")));
  EXPECT_EQ(plain.result, TestEmailReport::Result::kFailed);
  const Stage* noTls = stage(plain, "TLS", StageVerdict::kFailed);
  ASSERT_NE(noTls, nullptr) << text(plain);
  EXPECT_NE(noTls->text.find("does not offer STARTTLS"), std::string::npos) << noTls->text;
  const std::string received = servers.plainLog();
  EXPECT_NE(received.find("EHLO"), std::string::npos);
  EXPECT_EQ(received.find("AUTH"), std::string::npos) << received;
  EXPECT_EQ(servers.mails().size(), 1u);
}

TEST_F(TestEmailLoopbackTest, ClosedPortSilentServerAndCancelEachEndWithTheirReason) {
  TestEmailReport closed = send(settingsFor("127.0.0.1:" + std::to_string(LoopbackServers::closedPort())));
  const Stage* refused = stage(closed, "Connection", StageVerdict::kFailed);
  ASSERT_NE(refused, nullptr) << text(closed);
  EXPECT_NE(refused->text.find("connection refused"), std::string::npos) << refused->text;

  TestEmailReport silent = send(settingsFor(local("silent")), 2000);
  EXPECT_EQ(silent.result, TestEmailReport::Result::kFailed);
  EXPECT_NE(stage(silent, "Connection", StageVerdict::kPassed), nullptr) << text(silent);
  const Stage* quiet = stage(silent, "Greeting", StageVerdict::kFailed);
  ASSERT_NE(quiet, nullptr) << text(silent);
  EXPECT_EQ(quiet->text, "no greeting from the server within the bound of 2 s");

  // Cancel while the silent server keeps the test waiting: it ends long before its bound.
  TestEmailRunOptions options;
  options.boundMs = 60000;
  SteadyClock clock;
  TestEmailReport cancelled = runTestEmail(settingsFor(local("silent")), options, transport, clock, cancel,
                                           [&](const TestEmailReport& progress) {
                                             if (progress.activity.find("sent") != std::string::npos ||
                                                 progress.activity.find("trying") != std::string::npos)
                                               cancel = true;
                                           });
  EXPECT_EQ(cancelled.result, TestEmailReport::Result::kCancelled) << text(cancelled);
  EXPECT_NE(text(cancelled).find("cancelled"), std::string::npos) << text(cancelled);
}

}  // namespace
