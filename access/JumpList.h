// The taskbar's jump lists (Windows 7 to 11). An automatic list (".automaticDestinations-ms")
// is a compound file: a DestList stream says of every entry whether it is pinned, and each
// entry's shortcut is a stream named by its number. A custom list (".customDestinations-ms") is
// what an application wrote itself: its tasks and its own categories of shortcuts.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "access/Listing.h"

// One entry of a DestList stream, as stored.
struct DestEntry {
  unsigned number = 0;  // its shortcut is the stream of this number in lower-case hex
  bool pinned = false;
  std::string bytes;    // the whole entry, its checksum included, kept as it is
};

struct DestList {
  unsigned version = 0;
  std::string header;  // the 32 bytes before the entries
  std::vector<DestEntry> entries;
};

// The layout of the versions the code knows: 1 (Windows 7 and 8) and 2 to 4 (Windows 10 and 11).
// False for any other, and when the entries do not fill the stream exactly as its header counts
// them, pinned ones included.
bool ReadDestList(const std::string& stream, DestList& list);
// The stream of a DestList holding only these of its entries, its header counting them.
std::string DestListStream(const DestList& list, const std::vector<DestEntry>& entries);
// "1f" for entry 31.
std::wstring EntryStreamName(unsigned number);

// An automatic list as read.
struct JumpList {
  enum class State { Ok, Busy, UnknownLayout, Unreadable, NoPlatform };
  State state = State::Unreadable;
  DestList list;
  std::map<std::wstring, std::string> streams;  // every stream but DestList, by name
  std::string error;
  unsigned Pinned() const;
  unsigned Unpinned() const;
};
// Reads the file shared with no one: one another program has open is Busy. A file holding
// anything but a DestList and numbered streams is of an unknown layout.
JumpList ReadJumpList(const std::string& path);

// Makes the file hold only its pinned entries. A new compound file beside it gets the pinned
// entries' streams, as they were, and a DestList of them alone (the header's other fields kept,
// so that new entries still get new numbers); it is read back and compared. Then the old file is
// set aside, checked to be still as seen (size and time), the new one takes its name, and the
// old one is erased through the real eraser, so that secure erasing applies. Until the swap
// nothing of the old file changes, and any failure before it leaves the old file where it was
// (false, why in error). A true answer may still carry in error an old copy that stayed.
bool KeepOnlyPinned(const std::string& path, const JumpList& read, const FileFacts& seen, std::string& error);

// A list that an interrupted rewrite left set aside (its own name gone, the copy beside it
// still whole) is given its name back; answers the lists restored.
std::vector<std::string> RestoreSetAside(const std::string& folder);

// What a custom list holds.
struct CustomList {
  enum class State { Known, UnknownLayout, Unreadable };
  State state = State::Unreadable;
  unsigned ownEntries = 0;  // shortcuts in the application's own categories ("Recently closed")
  unsigned tasks = 0;       // its tasks, which it writes again with its list
};
// Reads the file's layout (version 2: its categories, each shortcut walked to its end).
CustomList ReadCustomList(const std::string& path);
