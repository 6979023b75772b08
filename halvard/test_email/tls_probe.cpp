#include "halvard/test_email/tls_probe.h"

#include <curl/curl.h>
#include <openssl/bio.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <ctime>
#include <memory>

namespace {

int probeIndex() {
  static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

std::string nameText(const X509_NAME* name) {
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
  if (!bio || name == nullptr) return {};
  X509_NAME_print_ex(bio.get(), name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
  char* data = nullptr;
  long size = BIO_get_mem_data(bio.get(), &data);
  return size > 0 ? std::string(data, static_cast<std::size_t>(size)) : std::string();
}

std::string timeText(const ASN1_TIME* when) {
  std::tm parts{};
  if (when == nullptr || ASN1_TIME_to_tm(when, &parts) != 1) return {};
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
  return text;
}

CertificateProblem problemOf(int error) {
  switch (error) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return CertificateProblem::kExpired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return CertificateProblem::kNotYetValid;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
      return CertificateProblem::kSelfSigned;
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
      return CertificateProblem::kUntrustedIssuer;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return CertificateProblem::kOtherName;
    default:
      return CertificateProblem::kOther;
  }
}

int verifyCallback(int preverifyOk, X509_STORE_CTX* store) {
  auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
  if (ssl != nullptr) {
    auto* probe = static_cast<TlsProbe*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), probeIndex()));
    if (probe != nullptr) {
      probe->sawCertificate(X509_STORE_CTX_get_current_cert(store), X509_STORE_CTX_get_error_depth(store),
                            preverifyOk ? X509_V_OK : X509_STORE_CTX_get_error(store), SSL_get_version(ssl));
    }
  }
  return preverifyOk;  // the verdict stays OpenSSL's
}

CURLcode contextCallback(CURL*, void* context, void* probe) {
  auto* ctx = static_cast<SSL_CTX*>(context);
  SSL_CTX_set_ex_data(ctx, probeIndex(), probe);
  // The mode libcurl chose (verify the peer) is kept; only the callback is added.
  SSL_CTX_set_verify(ctx, SSL_CTX_get_verify_mode(ctx), verifyCallback);
  return CURLE_OK;
}

}  // namespace

void TlsProbe::attach(void* curlHandle) {
  curl_easy_setopt(static_cast<CURL*>(curlHandle), CURLOPT_SSL_CTX_FUNCTION, &contextCallback);
  curl_easy_setopt(static_cast<CURL*>(curlHandle), CURLOPT_SSL_CTX_DATA, this);
}

void TlsProbe::sawCertificate(void* x509, int depth, int error, const char* version) {
  info_.used = true;
  if (version != nullptr) info_.version = version;
  auto* certificate = static_cast<X509*>(x509);
  if (depth == 0 && certificate != nullptr) {
    info_.subject = nameText(X509_get_subject_name(certificate));
    info_.issuer = nameText(X509_get_issuer_name(certificate));
    info_.validFrom = timeText(X509_get0_notBefore(certificate));
    info_.validUntil = timeText(X509_get0_notAfter(certificate));
  }
  // The first problem is the one that matters: later ones follow from it.
  if (error != X509_V_OK && !problemSeen_) {
    problemSeen_ = true;
    info_.problem = problemOf(error);
    info_.problemDetail = X509_verify_cert_error_string(error);
  }
}
