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
    if (!site.empty()) sites_.push_back(site);
  }
}

bool SiteKeepList::Keeps(const std::string& cookieHost) const {
  const std::string host = SiteOf(cookieHost);
  if (host.empty()) return false;
  for (const std::string& site : sites_) {
    if (host == site) return true;
    // A sub-domain: the site, preceded by a dot.
    if (host.size() > site.size() && host.compare(host.size() - site.size(), site.size(), site) == 0 &&
        host[host.size() - site.size() - 1] == '.')
      return true;
  }
  return false;
}

bool ReadSiteKeepList(SiteKeepList& list) {
  std::vector<std::string> lines;
  if (!ReadListFile(KeepSiteFile(), lines)) return false;
  list = SiteKeepList(lines);
  return true;
}
