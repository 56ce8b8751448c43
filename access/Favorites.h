// Internet Explorer favorites to and from a bookmark HTML file.
#pragma once
#include <string>

// The shell's helper object where it works, else the program's own writer and reader below.
void ImportExportFavorites(bool import, const std::string& htmlFile, const std::string& favoritesFolder);

// The common bookmark format: folders as nested lists, each .url shortcut as a link.
bool ExportFavoritesHtml(const std::string& favoritesFolder, const std::string& htmlFile);
// Adds the file's folders and links below the favorites folder; nothing there is removed or
// replaced (a name already taken by another address gets "Name (2).url"). One pass over the file.
bool ImportFavoritesHtml(const std::string& htmlFile, const std::string& favoritesFolder);
