// The cookies and typed URLs that a run spares: what there is now, and what to keep.
#pragma once
#include <string>
#include <vector>

std::string KeepCookieFile();  // keepcook.dat in the program folder
std::string KeepUrlFile();     // keepurl.dat in the program folder

// A folder path read from the registry, cut at its first NUL and trimmed of spaces.
std::string CleanFolderPath(const std::string& text);
// A folder of the user's Shell Folders key ("Cache", "Cookies", "Favorites"), cleaned.
std::string ShellFolder(const std::string& valueName);

// Full paths of the files directly in the folder whose name contains ".txt" (exact case),
// in listing order.
std::vector<std::string> CurrentCookies(const std::string& cookiesFolder);
// The data of the typed-URL values, in the order the registry enumerates them; values
// that cannot be read are left out.
std::vector<std::string> CurrentTypedUrls();

extern const char kTypedUrlsKey[];  // Software\Microsoft\Internet Explorer\TypedURLs
