#pragma once

#include "halvard/test_email/mail_transport.h"

// Watches the TLS handshakes of one libcurl transfer through OpenSSL: the protocol
// version and the server's own certificate (subject, issuer, validity) and, when the
// chain is refused, why. It only looks: the verification and its verdict stay libcurl's
// and OpenSSL's, against the trust store libcurl was given.
class TlsProbe {
 public:
  // Installs the probe on a curl easy handle (CURLOPT_SSL_CTX_FUNCTION). The probe
  // must outlive the transfer.
  void attach(void* curlHandle);

  const TlsInfo& info() const { return info_; }
  TlsInfo& info() { return info_; }

  // Called by the OpenSSL callbacks.
  void sawCertificate(void* x509, int depth, int error, const char* version);

 private:
  TlsInfo info_;
  bool problemSeen_ = false;
};
