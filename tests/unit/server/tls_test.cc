// The server beyond loopback: it refuses to serve without TLS, and over TLS the client accepts
// only a certificate it can verify for the name it called.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/net_connection.h"
#include "server/app_server.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class TlsTest : public ::testing::Test {
 protected:
  TlsTest() {
    // A self-signed certificate for 127.0.0.1 and localhost, made for this test.
    certificate_ = database_.directory() + "/servidor.pem";
    key_ = database_.directory() + "/servidor.key";
    const std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
        "-subj /CN=localhost -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout " +
        key_ + " -out " + certificate_ + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  ~TlsTest() override {
    host::TNetConnection::setTrustedCertificates({});
    host::TNetConnection::setSessionToken({});
  }

  AppServerOptions secure() const {
    AppServerOptions options;
    options.certificateFile = certificate_;
    options.privateKeyFile = key_;
    return options;
  }

  TempDatabase database_;
  std::string certificate_;
  std::string key_;
};

TEST(LoopbackAddress, OnlyThisMachinesAddressesCount) {
  for (const char* host : {"127.0.0.1", "127.1.2.3", "::1", "localhost"})
    EXPECT_TRUE(isLoopbackAddress(host)) << host;
  for (const char* host : {"0.0.0.0", "::", "10.0.0.5", "192.168.0.1", "servidor", "", "128.0.0.1"})
    EXPECT_FALSE(isLoopbackAddress(host)) << host;
}

TEST_F(TlsTest, AnyAddressButLoopbackNeedsACertificate) {
  AppServer plain(database_.path());
  try {
    plain.start("0.0.0.0", 0);
    ADD_FAILURE() << "served the network without TLS";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("--cert e --key"), std::string::npos) << e.what();
  }
  AppServerOptions missing = secure();
  missing.privateKeyFile = database_.directory() + "/nao-existe.key";
  EXPECT_THROW(AppServer(database_.path(), missing), std::runtime_error);
}

TEST_F(TlsTest, TheClientVerifiesTheServersCertificate) {
  AppServer server(database_.path(), secure());
  const int port = server.start();
  host::TNetConnection::setSessionToken(server.service().openLocalSession("ana").token);

  const auto callAs = [&](const std::string& host) {
    host::TNetConnection net("rdmClientesServico");
    net.setHost(host);
    net.setPort(port);
    net.connect();
    return net.call("GetParamFilial", {"0001"});
  };
  // Without the authority that signed it, the certificate is refused.
  auto result = callAs("https://127.0.0.1");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("certificado"), std::string::npos) << result.message;

  host::TNetConnection::setTrustedCertificates(certificate_);
  result = callAs("https://127.0.0.1");
  EXPECT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(callAs("https://localhost").ok);
  // Plain HTTP to a TLS server gets no answer it could take for one.
  EXPECT_FALSE(callAs("127.0.0.1").ok);
}

}  // namespace
}  // namespace server::testing
