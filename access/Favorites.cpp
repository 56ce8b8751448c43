#include "access/Favorites.h"

#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/URLHistory.h"
#include "settings/Inifun.h"

namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& s) {
  static const struct {
    const char* entity;
    char c;
  } entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    bool done = false;
    if (s[i] == '&') {
      for (const auto& e : entities) {
        size_t n = strlen(e.entity);
        if (s.compare(i, n, e.entity) == 0) {
          out += e.c;
          i += n;
          done = true;
          break;
        }
      }
    }
    if (!done) out += s[i++];
  }
  return out;
}

// A name that can stand as a file or folder name.
std::string SafeName(const std::string& name) {
  std::string s;
  for (char c : name) s += strchr("\\/:*?\"<>|", c) || static_cast<unsigned char>(c) < 32 ? '_' : c;
  while (!s.empty() && (s.back() == '.' || s.back() == ' ')) s.pop_back();
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s.empty() ? "Untitled" : s;
}

std::string ShortcutUrl(const std::string& path) {
  char url[2048] = {0};
  GetPrivateProfileStringA("InternetShortcut", "URL", "", url, sizeof url, path.c_str());
  return url;
}

void ExportFolder(const std::string& folder, int depth, std::ostream& out) {
  std::vector<std::string> folders, links;
  ForEachEntry(folder, [&](const ListedEntry& e) {
    if (!Listed(e)) return true;
    if (IsFolder(e)) folders.push_back(e.name);
    else if (e.name.size() > 4 && LowerText(e.name.substr(e.name.size() - 4)) == ".url") links.push_back(e.name);
    return true;
  });
  std::sort(folders.begin(), folders.end());
  std::sort(links.begin(), links.end());
  std::string indent(static_cast<size_t>(depth) * 4, ' ');
  for (const std::string& f : folders) {
    out << indent << "<DT><H3>" << Escape(f) << "</H3>\r\n" << indent << "<DL><p>\r\n";
    ExportFolder(folder + "\\" + f, depth + 1, out);
    out << indent << "</DL><p>\r\n";
  }
  for (const std::string& l : links) {
    out << indent << "<DT><A HREF=\"" << Escape(ShortcutUrl(folder + "\\" + l)) << "\">" << Escape(l.substr(0, l.size() - 4))
        << "</A>\r\n";
  }
}

// The text between position and the closing tag, without inner tags; lower is the document
// in lower case, made once.
std::string TextUntil(const std::string& html, const std::string& lower, size_t& pos, const std::string& closing) {
  size_t end = lower.find(closing, pos);
  if (end == std::string::npos) end = html.size();
  std::string raw = html.substr(pos, end - pos), text;
  bool inTag = false;
  for (char c : raw) {
    if (c == '<') inTag = true;
    else if (c == '>') inTag = false;
    else if (!inTag && c != '\r' && c != '\n') text += c;
  }
  pos = end;
  return Unescape(text);
}

std::string Attribute(const std::string& tag, const std::string& name) {
  std::string lower = LowerText(tag);
  size_t at = lower.find(name + "=");
  if (at == std::string::npos) return std::string();
  size_t start = at + name.size() + 1;
  char quote = start < tag.size() ? tag[start] : 0;
  if (quote == '"' || quote == '\'') {
    size_t end = tag.find(quote, start + 1);
    return Unescape(tag.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1));
  }
  size_t end = tag.find_first_of(" >", start);
  return Unescape(tag.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

bool WriteShortcut(const std::string& path, const std::string& url) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "[InternetShortcut]\r\nURL=" << url << "\r\n";
  return out.good();
}

// An imported favorite never replaces one of the user's: a favorite of the same name that
// points elsewhere stays, and the imported one takes the first free name "Name (2).url".
void ImportShortcut(const std::string& folder, const std::string& title, const std::string& url) {
  const int kMostCopies = 1000;
  for (int n = 1; n <= kMostCopies; ++n) {
    std::string path = folder + "\\" + title + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".url";
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      WriteShortcut(path, url);
      return;
    }
    if (ShortcutUrl(path) == url) return;  // already there
  }
}

bool ShellHelper(bool import, const std::string& htmlFile) {
  IShellUIHelper* helper = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellUIHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IShellUIHelper,
                              reinterpret_cast<void**>(&helper))))
    return false;
  std::wstring w = WideText(htmlFile);
  BSTR path = SysAllocString(w.c_str());
  HRESULT hr = helper->ImportExportFavorites(import ? VARIANT_TRUE : VARIANT_FALSE, path);
  SysFreeString(path);
  helper->Release();
  // An export that wrote nothing did not work either.
  return SUCCEEDED(hr) && (import || GetFileAttributesA(htmlFile.c_str()) != INVALID_FILE_ATTRIBUTES);
}

}  // namespace

bool ExportFavoritesHtml(const std::string& favoritesFolder, const std::string& htmlFile) {
  std::string folder = CanonicalFolder(favoritesFolder);
  if (folder.empty()) return false;
  std::ostringstream body;
  ExportFolder(folder, 1, body);
  std::ofstream out(htmlFile, std::ios::binary | std::ios::trunc);
  out << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\r\n"
         "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"
      << body.str() << "</DL><p>\r\n";
  return out.good();
}

bool ImportFavoritesHtml(const std::string& htmlFile, const std::string& favoritesFolder) {
  std::string top = CanonicalFolder(favoritesFolder);
  if (top.empty()) return false;
  std::ifstream in(htmlFile, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string html = ss.str();
  const std::string lower = LowerText(html);

  CreateDirectoryA(top.c_str(), nullptr);
  std::vector<std::string> stack;  // one entry per open list
  std::string pendingFolder;
  size_t pos = 0;
  while ((pos = lower.find('<', pos)) != std::string::npos) {
    size_t close = lower.find('>', pos);
    if (close == std::string::npos) break;
    std::string tag = html.substr(pos, close - pos + 1), name = lower.substr(pos + 1, 3);
    pos = close + 1;
    std::string current = stack.empty() ? top : stack.back();
    if (name.compare(0, 2, "h3") == 0) {
      pendingFolder = SafeName(TextUntil(html, lower, pos, "</h3"));
    } else if (name.compare(0, 2, "dl") == 0) {
      std::string folder = current;
      if (!pendingFolder.empty() && !stack.empty()) {
        folder = current + "\\" + pendingFolder;
        CreateDirectoryA(folder.c_str(), nullptr);
      }
      pendingFolder.clear();
      stack.push_back(folder);
    } else if (name.compare(0, 3, "/dl") == 0) {
      if (!stack.empty()) stack.pop_back();
    } else if (name[0] == 'a' && (name[1] == ' ' || name[1] == '>')) {
      std::string url = Attribute(tag, "href");
      std::string title = SafeName(TextUntil(html, lower, pos, "</a"));
      if (!url.empty()) ImportShortcut(current, title, url);
    }
  }
  return true;
}

void ImportExportFavorites(bool import, const std::string& htmlFile, const std::string& favoritesFolder) {
  if (htmlFile.empty()) return;  // the file dialog was cancelled
  if (ShellHelper(import, htmlFile)) return;
  if (import) ImportFavoritesHtml(htmlFile, favoritesFolder);
  else ExportFavoritesHtml(favoritesFolder, htmlFile);
}
