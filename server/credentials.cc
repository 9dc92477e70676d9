#include "server/credentials.h"

#include <fmt/format.h>
#include <sodium.h>

#include <array>
#include <mutex>

#include "server/delta_rows.h"

namespace server {

namespace {

void initialiseSodium() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (sodium_init() < 0)
      throw CredentialError("A biblioteca de criptografia não pôde ser iniciada.");
  });
}

}  // namespace

std::string hashPassword(std::string_view password, PasswordCost cost) {
  initialiseSodium();
  const size_t length = characterCount(password);
  if (length < kMinPasswordLength || length > kMaxPasswordLength) {
    throw CredentialError(fmt::format("A senha deve ter de {} a {} caracteres.", kMinPasswordLength,
                                      kMaxPasswordLength));
  }
  std::array<char, crypto_pwhash_STRBYTES> hash{};
  if (crypto_pwhash_str_alg(hash.data(), password.data(), password.size(), cost.passes,
                            cost.memoryBytes, crypto_pwhash_ALG_ARGON2ID13) != 0) {
    throw CredentialError("Memória insuficiente para proteger a senha.");
  }
  return hash.data();
}

bool verifyPassword(const std::string& storedHash, std::string_view password) {
  initialiseSodium();
  if (password.size() > kMaxPasswordLength * 4 || storedHash.size() >= crypto_pwhash_STRBYTES)
    return false;
  return crypto_pwhash_str_verify(storedHash.c_str(), password.data(), password.size()) == 0;
}

std::string newSessionToken() {
  initialiseSodium();
  std::array<unsigned char, 32> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  constexpr int kVariant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
  std::array<char, sodium_base64_ENCODED_LEN(32, kVariant)> text{};
  sodium_bin2base64(text.data(), text.size(), bytes.data(), bytes.size(), kVariant);
  return text.data();
}

std::string sessionKey(std::string_view token) {
  initialiseSodium();
  std::array<unsigned char, crypto_generichash_BYTES> digest{};
  crypto_generichash(digest.data(), digest.size(),
                     reinterpret_cast<const unsigned char*>(token.data()), token.size(), nullptr,
                     0);
  std::array<char, crypto_generichash_BYTES * 2 + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), digest.data(), digest.size());
  return hex.data();
}

}  // namespace server
