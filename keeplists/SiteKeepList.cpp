#include "keeplists/SiteKeepList.h"

#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Text.h"

std::string KeepSiteFile() { return ProgramFile("keepsite.dat"); }

std::string SiteOf(const std::string& text) {
  std::string s = LowerText(TrimSpaces(text));
  const size_t scheme = s.find("://");
  if (scheme != std::string::npos) s.erase(0, scheme + 3);
  s = s.substr(0, s.find_first_of("/?#"));
  const size_t at = s.rfind('@');
  if (at != std::string::npos) s.erase(0, at + 1);
  s = s.substr(0, s.find(':'));
  while (!s.empty() && s.front() == '.') s.erase(0, 1);
  while (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

SiteKeepList::SiteKeepList(const std::vector<std::string>& sites) {
  for (const std::string& line : sites) {
    const std::string site = SiteOf(line);
    if (!site.empty()) sites_.insert(site);
  }
}

bool SiteKeepList::Keeps(const std::string& cookieHost) const {
  const std::string host = SiteOf(cookieHost);
  // The host itself, then each domain above it: "a.shop.example.com", "shop.example.com", ...
  for (size_t from = 0; from != std::string::npos && from < host.size(); ) {
    if (sites_.count(host.substr(from))) return true;
    const size_t dot = host.find('.', from);
    from = dot == std::string::npos ? dot : dot + 1;
  }
  return false;
}

bool ReadSiteKeepList(SiteKeepList& list) {
  std::vector<std::string> lines;
  if (!ReadListFile(KeepSiteFile(), lines)) return false;
  list = SiteKeepList(lines);
  return true;
}
