#include "access/Sha1.h"

#include <windows.h>
#include <wincrypt.h>

namespace {

// The provider and the hash, each released however the hashing ends.
class CryptContext {
 public:
  CryptContext() { ok_ = CryptAcquireContextA(&provider_, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) != FALSE; }
  ~CryptContext() {
    if (ok_) CryptReleaseContext(provider_, 0);
  }
  CryptContext(const CryptContext&) = delete;
  CryptContext& operator=(const CryptContext&) = delete;
  bool ok() const { return ok_; }
  HCRYPTPROV get() const { return provider_; }

 private:
  HCRYPTPROV provider_ = 0;
  bool ok_ = false;
};

class CryptHash {
 public:
  CryptHash(const CryptContext& context, ALG_ID algorithm) {
    ok_ = context.ok() && CryptCreateHash(context.get(), algorithm, 0, 0, &hash_) != FALSE;
  }
  ~CryptHash() {
    if (ok_) CryptDestroyHash(hash_);
  }
  CryptHash(const CryptHash&) = delete;
  CryptHash& operator=(const CryptHash&) = delete;
  bool ok() const { return ok_; }
  HCRYPTHASH get() const { return hash_; }

 private:
  HCRYPTHASH hash_ = 0;
  bool ok_ = false;
};

}  // namespace

std::string Sha1Hex(const std::string& text) {
  CryptContext context;
  CryptHash hash(context, CALG_SHA1);
  if (!hash.ok() ||
      !CryptHashData(hash.get(), reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()), 0))
    return "";
  BYTE digest[20];
  DWORD size = sizeof digest;
  if (!CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &size, 0) || size != sizeof digest) return "";
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (BYTE b : digest) {
    out += hex[b >> 4];
    out += hex[b & 15];
  }
  return out;
}
