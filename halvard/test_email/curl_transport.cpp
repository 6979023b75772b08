#include "halvard/test_email/curl_transport.h"

#include <curl/curl.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>

#include "halvard/test_email/secret_mask.h"
#include "halvard/test_email/tls_probe.h"

namespace {

using Steady = std::chrono::steady_clock;

// Everything one transfer's callbacks need.
struct Transfer {
  const MailJob* job = nullptr;
  const std::atomic<bool>* cancel = nullptr;
  const std::function<void(const SmtpLine&)>* onLine = nullptr;
  Steady::time_point start = Steady::now();
  std::size_t messageSent = 0;
  SecretMask mask;
  std::string partial[2];  // a line split over two callbacks, per direction
  std::vector<SmtpLine> lines;
  std::string tlsVersionText;       // from libcurl's own note, when the probe saw no handshake
  std::int64_t connectedAtMs = -1;  // from libcurl's note "Connected to ...", kept on failures too

  std::int64_t nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
  }

  void take(bool fromServer, const char* data, std::size_t size) {
    std::string& rest = partial[fromServer ? 1 : 0];
    rest.append(data, size);
    std::size_t end;
    while ((end = rest.find('\n')) != std::string::npos) {
      std::string text = rest.substr(0, end);
      rest.erase(0, end + 1);
      if (!text.empty() && text.back() == '\r') text.pop_back();
      if (fromServer) {
        mask.serverLine(text);
      } else {
        text = mask.clientLine(text);
      }
      SmtpLine line{fromServer, text, nowMs()};
      lines.push_back(line);
      if (onLine != nullptr && *onLine) (*onLine)(line);
    }
  }
};

int debugCallback(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  switch (type) {
    case CURLINFO_HEADER_IN:
      transfer->take(true, data, size);
      break;
    case CURLINFO_HEADER_OUT:
      transfer->take(false, data, size);
      break;
    case CURLINFO_TEXT: {
      // "SSL connection using TLSv1.3 / TLS_AES_256_GCM_SHA384"
      std::string text(data, size);
      if (transfer->connectedAtMs < 0 && text.rfind("Connected to ", 0) == 0)
        transfer->connectedAtMs = transfer->nowMs();
      const std::string marker = "SSL connection using ";
      if (auto at = text.find(marker); at != std::string::npos) {
        std::string rest = text.substr(at + marker.size());
        transfer->tlsVersionText = rest.substr(0, rest.find(' '));
      }
      break;
    }
    default:
      break;  // the message itself and the TLS records are not kept
  }
  return 0;
}

std::size_t readCallback(char* buffer, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::string& message = transfer->job->message;
  std::size_t n = std::min(size * count, message.size() - transfer->messageSent);
  std::memcpy(buffer, message.data() + transfer->messageSent, n);
  transfer->messageSent += n;
  return n;
}

int progressCallback(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Transfer*>(user)->cancel->load() ? 1 : 0;
}

std::int64_t infoMs(CURL* curl, CURLINFO what) {
  curl_off_t us = 0;
  if (curl_easy_getinfo(curl, what, &us) != CURLE_OK || us <= 0) return -1;
  return us / 1000;
}

std::string urlFor(const MailJob& job) {
  const SmtpRoute& route = job.route;
  bool v6 = route.host.find(':') != std::string::npos;
  std::string url = route.tls == TlsMode::kImplicit ? "smtps://" : "smtp://";
  url += (v6 ? "[" + route.host + "]" : route.host) + ":" + std::to_string(route.port);
  // The path is the name libcurl gives in EHLO.
  if (!job.heloName.empty()) {
    char* escaped = curl_easy_escape(nullptr, job.heloName.c_str(), static_cast<int>(job.heloName.size()));
    if (escaped != nullptr) {
      url += "/" + std::string(escaped);
      curl_free(escaped);
    }
  }
  return url;
}

Failure failureOf(CURLcode code, long osErrno, bool connected) {
  switch (code) {
    case CURLE_OK:
      return Failure::kNone;
    case CURLE_COULDNT_RESOLVE_HOST:
      return Failure::kResolve;
    case CURLE_COULDNT_CONNECT:
      if (osErrno == ECONNREFUSED) return Failure::kConnectRefused;
      if (osErrno == ETIMEDOUT) return Failure::kConnectTimedOut;
      return Failure::kConnect;
    case CURLE_OPERATION_TIMEDOUT:
      return connected ? Failure::kTimedOut : Failure::kConnectTimedOut;
    case CURLE_SSL_CONNECT_ERROR:
      return Failure::kTlsHandshake;
    case CURLE_PEER_FAILED_VERIFICATION:
      return Failure::kCertificate;
    case CURLE_USE_SSL_FAILED:
      return Failure::kStartTlsMissing;
    case CURLE_LOGIN_DENIED:
      return Failure::kLogin;
    case CURLE_ABORTED_BY_CALLBACK:
      return Failure::kCancelled;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UPLOAD_FAILED:
      return Failure::kRefused;
    default:
      return Failure::kOther;
  }
}

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct EasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

}  // namespace

CurlTransport::CurlTransport(std::string caFile) : caFile_(std::move(caFile)) {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

AttemptOutcome CurlTransport::send(const MailJob& job, const std::atomic<bool>& cancel,
                                   const std::function<void(const SmtpLine&)>& onLine) {
  AttemptOutcome outcome;
  outcome.port = job.route.port;
  Transfer transfer;
  transfer.job = &job;
  transfer.cancel = &cancel;
  transfer.onLine = &onLine;
  TlsProbe probe;
  std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl) {
    outcome.failure = Failure::kOther;
    outcome.detail = "libcurl could not start";
    return outcome;
  }
  CURL* c = curl.get();
  std::unique_ptr<curl_slist, SlistDeleter> recipients;
  for (const std::string& to : job.recipients) {
    recipients.reset(curl_slist_append(recipients.release(), ("<" + to + ">").c_str()));
  }
  char errorText[CURL_ERROR_SIZE] = "";
  const std::string url = urlFor(job);
  const std::string from = "<" + job.envelopeFrom + ">";
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // we run beside the window's thread
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(job.connectTimeoutMs));
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(job.totalTimeoutMs));
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!caFile_.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, caFile_.c_str());
  if (job.route.tls != TlsMode::kImplicit) {
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     job.route.tls == TlsMode::kStartTlsRequired ? static_cast<long>(CURLUSESSL_ALL)
                                                                 : static_cast<long>(CURLUSESSL_TRY));
  }
  if (!job.userName.empty()) {
    curl_easy_setopt(c, CURLOPT_USERNAME, job.userName.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, job.password.c_str());
  }
  curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
  // One refused recipient must not cost the other its mail. (libcurl 7.88 spells the
  // option with three L's; 8.2 added the proper name for the same number.)
  curl_easy_setopt(c, CURLOPT_MAIL_RCPT_ALLLOWFAILS, 1L);
  curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(c, CURLOPT_READFUNCTION, &readCallback);
  curl_easy_setopt(c, CURLOPT_READDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);  // feeds the debug callback, prints nothing
  curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &debugCallback);
  curl_easy_setopt(c, CURLOPT_DEBUGDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &progressCallback);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
  probe.attach(c);

  transfer.start = Steady::now();
  CURLcode code = curl_easy_perform(c);

  char* address = nullptr;
  if (curl_easy_getinfo(c, CURLINFO_PRIMARY_IP, &address) == CURLE_OK && address != nullptr)
    outcome.address = address;
  long osErrno = 0;
  curl_easy_getinfo(c, CURLINFO_OS_ERRNO, &osErrno);
  outcome.resolvedAtMs = infoMs(c, CURLINFO_NAMELOOKUP_TIME_T);
  outcome.connectedAtMs = infoMs(c, CURLINFO_CONNECT_TIME_T);
  // libcurl keeps no connect time for a transfer whose TLS handshake failed.
  if (outcome.connectedAtMs < 0) outcome.connectedAtMs = transfer.connectedAtMs;
  // A literal address needs no look-up; libcurl may report 0 for it.
  if (outcome.resolvedAtMs < 0 && code != CURLE_COULDNT_RESOLVE_HOST && !outcome.address.empty())
    outcome.resolvedAtMs = 0;
  if (job.route.tls == TlsMode::kImplicit) outcome.tlsDoneAtMs = infoMs(c, CURLINFO_APPCONNECT_TIME_T);
  outcome.totalMs = transfer.nowMs();
  outcome.failure = failureOf(code, osErrno, outcome.connectedAtMs >= 0);
  outcome.detail = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
  if (code == CURLE_OK) outcome.detail.clear();
  if (outcome.address.empty() && code != CURLE_COULDNT_RESOLVE_HOST) outcome.address = job.route.host;
  outcome.tls = probe.info();
  if (outcome.tls.version.empty()) outcome.tls.version = transfer.tlsVersionText;
  if (outcome.failure == Failure::kCertificate && outcome.tls.problem == CertificateProblem::kNone) {
    // libcurl checks the name itself, after OpenSSL accepted the chain.
    bool name = outcome.detail.find("name") != std::string::npos;
    outcome.tls.problem = name ? CertificateProblem::kOtherName : CertificateProblem::kOther;
    outcome.tls.problemDetail = outcome.detail;
  }
  outcome.lines = std::move(transfer.lines);
  return outcome;
}
