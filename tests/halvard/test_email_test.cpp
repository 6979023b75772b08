#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <memory>

#include "fake_mail_transport.h"
#include "halvard/test_email/mail_text.h"
#include "halvard/test_email/secret_mask.h"
#include "halvard/test_email/test_email_message.h"
#include "bench_mail_settings.h"
#include "halvard_fixture.h"

namespace {

using namespace halvard_ids;

TestEmailSettings settings(std::string server) {
  TestEmailSettings s = benchMailSettings(std::move(server), "alarm", "Pw-s3cret");
  s.subject = "Alarm";
  return s;
}

TestEmailReport run(const TestEmailSettings& s, FakeMailTransport& transport, VirtualClock& clock) {
  std::atomic<bool> cancel{false};
  return runTestEmail(s, TestEmailRunOptions{}, transport, clock, cancel, [](const TestEmailReport&) {});
}

TEST(TestEmailRun, WithoutAPortTries465Then587AndSaysWhichOneTookIt) {
  VirtualClock clock;
  FakeMailTransport transport(&clock);
  transport.byPort[465] = FakeMailTransport::failing(Failure::kConnectRefused);
  TestEmailReport report = run(settings("mail.example.com"), transport, clock);
  ASSERT_EQ(transport.jobs.size(), 2u);
  EXPECT_EQ(transport.jobs[0].route.tls, TlsMode::kImplicit);
  // A password goes with the mail, so STARTTLS is required, never optional.
  EXPECT_EQ(transport.jobs[1].route.tls, TlsMode::kStartTlsRequired);
  EXPECT_EQ(report.result, TestEmailReport::Result::kDelivered);
  EXPECT_EQ(summaryLine(report).rfind("Test e-mail accepted by mail.example.com:587 (STARTTLS)", 0), 0u)
      << summaryLine(report);
  EXPECT_NE(summaryLine(report).find("250 2.0.0 queued as 4XQ"), std::string::npos);
}

TEST(TestEmailRun, TheServersVerdictEndsTheOrderAndTheBoundShrinksEachTry) {
  VirtualClock clock;
  FakeMailTransport transport(&clock);
  AttemptOutcome denied = FakeMailTransport::accepting(MailJob{});
  denied.lines.resize(4);
  denied.lines.push_back({false, "AUTH PLAIN (hidden)", 20});
  denied.lines.push_back({true, "535 5.7.8 Authentication credentials invalid", 21});
  denied.failure = Failure::kLogin;
  transport.byPort[465] = denied;
  TestEmailReport report = run(settings("mail.example.com"), transport, clock);
  EXPECT_EQ(transport.jobs.size(), 1u);
  EXPECT_EQ(summaryLine(report),
            "Test e-mail failed at Login on mail.example.com:465 (TLS from the start): refused: 535 5.7.8 "
            "Authentication credentials invalid: check USER NAME and PASSWORD");

  // Two silent ports of 10 s each leave the third 10 s of the 30 s bound.
  FakeMailTransport slow(&clock);
  slow.takesMs = 10000;
  slow.byPort[465] = slow.byPort[587] = FakeMailTransport::failing(Failure::kConnectTimedOut);
  run(settings("mail.example.com"), slow, clock);
  ASSERT_EQ(slow.jobs.size(), 3u);
  EXPECT_EQ(slow.jobs[2].totalTimeoutMs, 10000);
  EXPECT_EQ(slow.jobs[2].connectTimeoutMs, 10000);
}

TEST(TestEmailRun, FieldsThatNameNoServerOrRecipientSendNothing) {
  VirtualClock clock;
  FakeMailTransport transport(&clock);
  TestEmailSettings noTo = settings("mail.example.com");
  noTo.toAddress = noTo.secondToAddress = " ";
  EXPECT_EQ(summaryLine(run(noTo, transport, clock)),
            "Test e-mail not sent: TO ADDRESS and SECOND TO EMAIL ADDRESS are both empty: the e-mail has "
            "nowhere to go");
  EXPECT_NE(summaryLine(run(settings("mail.example.com:99999"), transport, clock)).find("not a port number"),
            std::string::npos);
  EXPECT_TRUE(transport.jobs.empty());
}

TEST(TestEmailMessage, SenderAndFromMapToEnvelopeAndHeadersAndNoFieldOpensAHeader) {
  TestEmailSettings s = settings("x");
  s.sender = "Alarm\r\nBcc: evil@example.com";
  s.subject = "Zone 3\r\nBcc: evil@example.com";
  s.firstLine = "Caf\xE9 = open";
  MailAddressing named = mailAddressingFor(s);
  EXPECT_EQ(named.envelopeFrom, "panel@example.com");
  EXPECT_EQ(named.fromHeader, "\"Alarm Bcc: evil@example.com\" <panel@example.com>");
  std::string text = composeTestEmail(s, named, "bench", 0);
  EXPECT_NE(text.find("\r\nSubject: Zone 3 Bcc: evil@example.com\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\r\nBcc:"), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\nCaf=C3=A9 =3D open\r\n"), std::string::npos) << text;

  s.sender = "relay@example.com";
  MailAddressing onBehalf = mailAddressingFor(s);
  EXPECT_EQ(onBehalf.envelopeFrom, "relay@example.com");
  EXPECT_EQ(onBehalf.fromHeader, "<panel@example.com>");
  EXPECT_EQ(onBehalf.senderHeader, "<relay@example.com>");
}

TEST(TestEmailMessage, TheLoginNeverReachesTheConversationKept) {
  SecretMask mask;
  EXPECT_EQ(mask.clientLine("AUTH PLAIN AGFsYXJtAFB3"), "AUTH PLAIN (hidden)");
  mask.serverLine("235 ok");
  EXPECT_EQ(mask.clientLine("AUTH LOGIN"), "AUTH LOGIN");
  mask.serverLine("334 VXNlcm5hbWU6");
  EXPECT_EQ(mask.clientLine("YWxhcm0="), "(hidden)");
  mask.serverLine("334 UGFzc3dvcmQ6");
  EXPECT_EQ(mask.clientLine("UHctczNjcmV0"), "(hidden)");
  mask.serverLine("235 2.7.0 ok");
  EXPECT_EQ(mask.clientLine("MAIL FROM:<a@b.c>"), "MAIL FROM:<a@b.c>");
}

// The test e-mail through the dialog: the tasks its thread posts are run when the test
// says, as the window's event loop would.
class TestEmailDialogTest : public HalvardFixture, public DialogThread, public TestEmailView {
 protected:
  TestEmailDialogTest() {
    auto testClock = std::make_unique<VirtualClock>();
    role = std::make_unique<TestEmail>(
        TestEmail::Environment{transport, *this, status, *this, std::move(testClock), TestEmailRunOptions{}});
    dlg.attachTestEmail(role.get());
  }
  ~TestEmailDialogTest() override { dlg.attachTestEmail(nullptr); }

  void post(std::function<void()> task) override {
    std::lock_guard<std::mutex> lock(mutex);
    posted.push_back(std::move(task));
  }
  void showReport(const TestEmailReport& report) override { shown.push_back(report); }
  void bringToFront() override {}
  void runPosted() {
    std::deque<std::function<void()>> tasks;
    {
      std::lock_guard<std::mutex> lock(mutex);
      tasks.swap(posted);
    }
    for (auto& task : tasks) task();
  }

  FakeMailTransport transport;
  std::mutex mutex;
  std::deque<std::function<void()>> posted;
  std::vector<TestEmailReport> shown;
  std::unique_ptr<TestEmail> role;
};

TEST_F(TestEmailDialogTest, RunsBesideTheSavePassOneAtATimeAndChangesNoFile) {
  makeFolders();
  start();
  typeInto(kServerName, "mail.example.com:587");
  typeInto(kPassword, "Pw-s3cret");
  typeInto(kUserName, "alarm");
  typeInto(kFromAddress, "panel@example.com");
  typeInto(kToAddress, "ops@example.com");
  tick();
  const std::string savedServer = dir.read("programEmail/servername.txt");
  transport.hold();
  click(kSendTestEmail);
  click(kSendTestEmail);
  EXPECT_EQ(status.last(),
            "A test e-mail is already on its way: wait for its result, or Cancel it in its window");
  typeInto(kSubject, "Alarm");  // edits and the save pass go on meanwhile
  tick();
  EXPECT_EQ(dir.read("programEmail/subject.txt"), "Alarm");
  transport.release();
  role->join();
  runPosted();
  EXPECT_FALSE(role->running());
  ASSERT_EQ(transport.jobs.size(), 1u);
  EXPECT_EQ(transport.jobs[0].password, "Pw-s3cret");
  EXPECT_EQ(status.last().rfind("Test e-mail accepted by mail.example.com:587 (STARTTLS)", 0), 0u)
      << status.last();
  for (const std::string& message : status.messages) EXPECT_EQ(message.find("Pw-s3cret"), std::string::npos);
  // The test raised no changed flag: nothing more is written.
  dir.write("programEmail/servername.txt", "untouched");
  tick();
  EXPECT_EQ(dir.read("programEmail/servername.txt"), "untouched");
  EXPECT_EQ(savedServer, "mail.example.com:587");
}

TEST_F(TestEmailDialogTest, FieldsAreCheckedAsTypedOnTheStatusLineOnly) {
  makeFolders();
  start();
  status.messages.clear();
  for (const char* text : {"o", "op", "ops@", "ops@e", "ops@example.com"}) replaceText(kToAddress, text);
  EXPECT_EQ(status.messages, (std::vector<std::string>{"TO ADDRESS has no '@': an address is user@domain",
                                                       "TO ADDRESS has no domain after the '@'",
                                                       "TO ADDRESS looks right now"}));
  status.messages.clear();
  replaceText(kWaveLength, "2.5");
  EXPECT_EQ(status.last(), "WAVEFILE PLAYING LENGTH IN SECOND \"2.5\" is not a whole number of seconds");
  // 8000 samples a second, one byte each: 16000 bytes of data play 2 s.
  std::string wave = std::string("RIFF") + std::string(4, '\0') + "WAVEfmt " +
                     std::string("\x10\0\0\0\x01\0\x01\0", 8) +
                     std::string("\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0", 12) + "data" +
                     std::string("\x80\x3e\0\0", 4) + std::string(16000, '\x80');
  dir.write("siren.wav", wave);
  replaceText(kWaveLength, "5");
  replaceText(kWaveFile, "siren.wav");
  EXPECT_EQ(status.last(),
            "WAVEFILE " + (dir / "siren.wav").string() +
                ": RIFF/WAVE, 2.0 s of sound (8000 Hz, 1 channel, 8 bit); the playing length, 5 s, "
                "is longer than the sound");
  dir.write("notes.wav", "just text");
  replaceText(kWaveFile, "notes.wav");
  EXPECT_NE(status.last().find("is not a RIFF/WAVE sound file"), std::string::npos);
  tick();
  EXPECT_EQ(dir.read("programEmail/musiclength.txt"), "5");  // saved as typed all the same
}

}  // namespace
