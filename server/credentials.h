// The cryptography of signing in: password hashes and session tokens.
//
// Passwords are kept only as Argon2id hashes (memory-hard, salted, in the self-describing text
// form that records their parameters, so a hash made at one cost still verifies after the cost
// changes). A session token is 32 random bytes in URL-safe Base64; the database keeps only a
// BLAKE2b hash of it. Thread-safe.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace server {

// What hashing one password costs: passes over the memory and the memory itself.
struct PasswordCost {
  unsigned long long passes;
  size_t memoryBytes;
};

// The cost for operators' passwords: about a tenth of a second and 64 MiB on a desktop.
inline constexpr PasswordCost kOperatorPasswordCost{2, 64u * 1024u * 1024u};
// The cheapest the function allows: for tests, which hash many throwaway passwords.
inline constexpr PasswordCost kTestPasswordCost{1, 8u * 1024u};

// Passwords take 8 to 256 characters.
inline constexpr size_t kMinPasswordLength = 8;
inline constexpr size_t kMaxPasswordLength = 256;

class CredentialError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The hash to store for a password. Throws CredentialError when the password is too short or
// too long, or when the memory for hashing cannot be had.
std::string hashPassword(std::string_view password, PasswordCost cost = kOperatorPasswordCost);

// Whether the password matches the stored hash. A malformed hash never matches.
bool verifyPassword(const std::string& storedHash, std::string_view password);

// A new random session token.
std::string newSessionToken();

// The key under which a token's session is stored.
std::string sessionKey(std::string_view token);

}  // namespace server
