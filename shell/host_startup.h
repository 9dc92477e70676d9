// Start-up of the host application: its working context from the command line, the local
// database, and the application server (a remote one, or one embedded in this process).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace server {
class AppServer;
class Service;
}  // namespace server

namespace shell {

struct HostOptions {
  // "host:port" or "https://host:port" of a running application server; empty: embedded
  std::string server;
  std::string trustedCertificates;  // PEM file of the authorities to trust for https
  std::string database;
  std::optional<std::string> filiProc, nomeFiliProc, filiProcFat, nomeFiliProcFat;
  bool moduFili = false;
  std::string operador = "OPERADOR";
  std::string dataProc;  // dd/mm/yyyy; empty: today
  int moduloAtiv = 0;
  std::string dbPict = "9.99.999;1;_";
  int screenWidth = 1280;
  int screenHeight = 1024;
  std::string modulePath;
};

// The database used when none is named: in the user's data folder.
std::string defaultDatabasePath();
// The module library next to this executable (../lib/libclientes_servico.so).
std::string defaultModulePath();

// Applies the options to the working context; with no server address starts the application
// server in this process on a free loopback port over the database (created with the demo data
// when missing), signs the operator in there (signInLocally) and returns it. With an address,
// the operator still has to sign in (the desktop's login dialog). Throws std::runtime_error
// with a clear message.
std::unique_ptr<server::AppServer> startHost(const HostOptions& options);

// Signs the operator in at an application server of this process, without a password: the
// session token never leaves the process. The working context's Operador becomes the signed-in
// operator, and a session the server later refuses (expired) is reopened the same way. Throws
// std::runtime_error when the operator cannot sign in (a disabled one, a code too long).
void signInLocally(server::Service& service, const std::string& operatorCode);
// Ends that session and stops reopening it; call it before the server goes.
void signOutLocally(server::Service& service);

// The branch's name in the local database of the working context, or empty.
std::string lookUpBranchName(const std::string& code);

// Loads the module (its unit initialisation runs) and returns its entry point.
using EntryPoint = void (*)();
EntryPoint loadModule(const std::string& path);

}  // namespace shell
