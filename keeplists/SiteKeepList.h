// The sites whose cookies a run spares in today's browsers: keepsite.dat, one site a line.
#pragma once
#include <string>
#include <unordered_set>
#include <vector>

std::string KeepSiteFile();  // keepsite.dat in the program folder

// A site as the list keeps it: lower case, without a leading ".", a scheme, a path or a port
// ("https://Shop.Example.com/x" -> "shop.example.com"); "" when nothing is left.
std::string SiteOf(const std::string& text);

// The sites of a list, matched as users expect: keeping "example.com" keeps "example.com",
// ".example.com" and "shop.example.com", never "thisisanexample.com", "example.com.evil.net"
// or "shop-example.com"; keeping "www.example.com" does not keep "example.com".
class SiteKeepList {
 public:
  SiteKeepList() = default;
  explicit SiteKeepList(const std::vector<std::string>& sites);
  bool Keeps(const std::string& cookieHost) const;
  bool empty() const { return sites_.empty(); }

 private:
  std::unordered_set<std::string> sites_;
};

// keepsite.dat read; false when it exists but cannot be read (then every cookie is kept).
bool ReadSiteKeepList(SiteKeepList& list);
