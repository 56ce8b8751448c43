#include "access/JumpList.h"

#include <windows.h>

#include <cstring>

#include "access/CompoundFile.h"
#include "access/Eraser.h"
#include "access/FileHandle.h"
#include "access/Pattern.h"
#include "access/WidePath.h"

namespace {

const size_t kHeaderSize = 32;
const char kFreshSuffix[] = ".tsw-new";
const char kAsideSuffix[] = ".tsw-old";
const unsigned kUnpinned = 0xFFFFFFFFu;

unsigned U32(const std::string& b, size_t at) {
  unsigned v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
unsigned U16(const std::string& b, size_t at) {
  return static_cast<unsigned char>(b[at]) | (static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8);
}
void PutU32(std::string& b, size_t at, unsigned v) { std::memcpy(&b[at], &v, 4); }

// Where an entry's fields lie in each layout: its number, pin and the length of its path (in
// UTF-16 units); what follows the path.
struct EntryLayout {
  size_t number, pin, pathLength, trailer;
};
const EntryLayout kVersion1 = {88, 108, 112, 0};
const EntryLayout kVersion2 = {88, 108, 128, 4};

}  // namespace

bool ReadDestList(const std::string& stream, DestList& list) {
  list = DestList();
  if (stream.size() < kHeaderSize) return false;
  const unsigned version = U32(stream, 0);
  if (version < 1 || version > 4) return false;
  const EntryLayout& layout = version == 1 ? kVersion1 : kVersion2;
  const unsigned count = U32(stream, 4), pinnedCount = U32(stream, 8);
  list.version = version;
  list.header = stream.substr(0, kHeaderSize);
  size_t at = kHeaderSize;
  unsigned pinned = 0;
  while (at < stream.size()) {
    if (stream.size() - at < layout.pathLength + 2 || list.entries.size() >= count) return false;
    const size_t size = layout.pathLength + 2 + 2 * static_cast<size_t>(U16(stream, at + layout.pathLength)) + layout.trailer;
    if (stream.size() - at < size) return false;
    DestEntry e;
    e.number = U32(stream, at + layout.number);
    e.pinned = U32(stream, at + layout.pin) != kUnpinned;
    e.bytes = stream.substr(at, size);
    pinned += e.pinned ? 1 : 0;
    list.entries.push_back(e);
    at += size;
  }
  return list.entries.size() == count && pinned == pinnedCount;
}

std::string DestListStream(const DestList& list, const std::vector<DestEntry>& entries) {
  std::string stream = list.header;
  unsigned pinned = 0;
  for (const DestEntry& e : entries) {
    stream += e.bytes;
    pinned += e.pinned ? 1 : 0;
  }
  PutU32(stream, 4, static_cast<unsigned>(entries.size()));
  PutU32(stream, 8, pinned);
  return stream;
}

std::wstring EntryStreamName(unsigned number) {
  wchar_t name[16];
  swprintf(name, 16, L"%x", number);
  return name;
}

unsigned JumpList::Pinned() const {
  unsigned n = 0;
  for (const DestEntry& e : list.entries) n += e.pinned ? 1 : 0;
  return n;
}
unsigned JumpList::Unpinned() const { return static_cast<unsigned>(list.entries.size()) - Pinned(); }

namespace {

// Its streams are the DestList and entries named by lower-case hex numbers.
bool EntryStreamNamed(const std::wstring& name) {
  return !name.empty() && name.size() <= 8 && name[0] != L'0' &&
         name.find_first_not_of(L"0123456789abcdef") == std::wstring::npos;
}

JumpList::State ReadInto(const std::string& path, JumpList& read) {
  // The storage's own locks tell only of another storage reader; a program holding the file any
  // other way shows here.
  {
    FileHandle probe(path, GENERIC_READ, 0, OPEN_EXISTING);
    if (!probe.ok() && (probe.openError() == ERROR_SHARING_VIOLATION || probe.openError() == ERROR_LOCK_VIOLATION)) {
      read.error = "in use";
      return JumpList::State::Busy;
    }
  }
  CompoundFile file;
  switch (file.Open(path)) {
    case CompoundFile::Opened::Ok: break;
    case CompoundFile::Opened::Busy: read.error = "in use"; return JumpList::State::Busy;
    case CompoundFile::Opened::NoPlatform: read.error = "no structured storage on this Windows"; return JumpList::State::NoPlatform;
    default:
      read.error = file.Error() == ReasonOf(ERROR_ACCESS_DENIED) ? file.Error() : "not a compound file";
      return JumpList::State::Unreadable;
  }
  std::vector<std::wstring> names;
  bool holdsMore = false;
  if (!file.StreamNames(names, holdsMore)) {
    read.error = "its streams could not be listed";
    return JumpList::State::Unreadable;
  }
  std::string destList;
  bool hasDestList = false;
  for (const std::wstring& name : names) {
    std::string bytes;
    if (!file.Read(name, bytes)) {
      read.error = "a stream could not be read";
      return JumpList::State::Unreadable;
    }
    if (name == L"DestList") {
      destList = bytes;
      hasDestList = true;
    } else if (EntryStreamNamed(name)) {
      read.streams[name] = bytes;
    } else {
      holdsMore = true;
    }
  }
  if (holdsMore || !hasDestList) {
    read.error = "it holds more than a DestList and its entries";
    return JumpList::State::UnknownLayout;
  }
  // An empty DestList is a list with no entries yet.
  if (destList.empty()) return JumpList::State::Ok;
  if (!ReadDestList(destList, read.list)) {
    read.error = destList.size() >= 4 ? "DestList version " + std::to_string(U32(destList, 0)) + ", a layout not known"
                                      : "a DestList of a layout not known";
    return JumpList::State::UnknownLayout;
  }
  return JumpList::State::Ok;
}

// The pinned entries and their streams, written into a new file and read back the same.
bool WriteKept(const std::string& fresh, const JumpList& read, std::string& error) {
  std::vector<DestEntry> kept;
  for (const DestEntry& e : read.list.entries)
    if (e.pinned) kept.push_back(e);
  const std::string destList = DestListStream(read.list, kept);
  {
    CompoundFile out;
    if (!out.Create(fresh)) {
      error = "a new list could not be made (" + out.Error() + ")";
      return false;
    }
    bool written = true;
    for (const DestEntry& e : kept) {
      auto stream = read.streams.find(EntryStreamName(e.number));
      if (stream != read.streams.end()) written = written && out.Write(stream->first, stream->second);
    }
    written = written && out.Write(L"DestList", destList);
    if (!written || !out.Commit()) {
      error = "the new list could not be written (" + out.Error() + ")";
      return false;
    }
  }
  JumpList back = ReadJumpList(fresh);
  bool same = back.state == JumpList::State::Ok && back.list.entries.size() == kept.size();
  for (size_t i = 0; same && i < kept.size(); ++i) same = back.list.entries[i].bytes == kept[i].bytes;
  size_t streams = 0;
  for (const DestEntry& e : kept) {
    auto was = read.streams.find(EntryStreamName(e.number));
    auto now = back.streams.find(EntryStreamName(e.number));
    if (was == read.streams.end()) continue;
    ++streams;
    same = same && now != back.streams.end() && now->second == was->second;
  }
  same = same && back.streams.size() == streams;
  if (!same) error = "the new list did not read back as written";
  return same;
}

bool Rename(const std::string& from, const std::string& to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), 0) != FALSE;
}

}  // namespace

JumpList ReadJumpList(const std::string& path) {
  JumpList read;
  read.state = ReadInto(path, read);
  return read;
}

bool KeepOnlyPinned(const std::string& path, const JumpList& read, const FileFacts& seen, std::string& error) {
  error.clear();
  if (read.state != JumpList::State::Ok) {
    error = read.error;
    return false;
  }
  const std::string fresh = path + kFreshSuffix, aside = path + kAsideSuffix;
  RealEraser real;
  // What an interrupted rewrite left; an old copy still there is erased as it would have been.
  for (const std::string& leftover : {fresh, aside})
    if (AttributesOf(leftover) != INVALID_FILE_ATTRIBUTES && !real.EraseFile(leftover, true)) {
      error = leftover + " is in the way (" + ReasonOf(real.lastError()) + ")";
      return false;
    }
  if (!WriteKept(fresh, read, error)) {
    real.EraseFile(fresh, true);
    return false;
  }
  FileFacts now;
  if (!Rename(path, aside)) {
    error = ReasonOf(GetLastError());
    real.EraseFile(fresh, true);
    return false;
  }
  // Written to since it was read (a pin added meanwhile): it stays as it now is.
  if (!FactsOfPath(aside, now) || now.size != seen.size || now.lastWrite != seen.lastWrite) {
    error = "changed while it was read";
    if (!Rename(aside, path)) error += "; it stays as " + aside;
    real.EraseFile(fresh, true);
    return false;
  }
  if (!Rename(fresh, path)) {
    error = ReasonOf(GetLastError());
    if (!Rename(aside, path)) error += "; the old list stays as " + aside;
    real.EraseFile(fresh, true);
    return false;
  }
  if (!real.EraseFile(aside, true)) error = "the old list stays as " + aside + " (" + ReasonOf(real.lastError()) + ")";
  return true;
}

std::vector<std::string> RestoreSetAside(const std::string& folder) {
  std::vector<std::string> restored;
  std::vector<std::string> aside;
  ForEachMatchingEntry(folder, std::string("*.automaticDestinations-ms") + kAsideSuffix, [&](const ListedEntry& e) {
    if (!IsFolder(e)) aside.push_back(folder + "\\" + e.name);
    return true;
  });
  for (const std::string& copy : aside) {
    const std::string path = copy.substr(0, copy.size() - (sizeof kAsideSuffix - 1));
    if (AttributesOf(path) == INVALID_FILE_ATTRIBUTES && Rename(copy, path)) restored.push_back(path);
  }
  return restored;
}

// ---- Custom lists ----------------------------------------------------------------------

namespace {

const unsigned kFooter = 0xBABFFBABu;
// The class of a shell link, as the custom list stores it before the link itself.
const unsigned char kShellLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Walks one shell link (the shortcut file's layout) from at; false when it does not end inside.
bool SkipShellLink(const std::string& b, size_t& at) {
  auto has = [&](size_t n) { return b.size() - at >= n; };
  if (!has(76) || U32(b, at) != 0x4C || std::memcmp(b.data() + at + 4, kShellLinkClass, 16) != 0) return false;
  const unsigned flags = U32(b, at + 20);
  at += 76;
  if (flags & 0x1) {  // the target's item list
    if (!has(2)) return false;
    const size_t n = 2 + U16(b, at);
    if (!has(n)) return false;
    at += n;
  }
  if (flags & 0x2) {  // where the target lies
    if (!has(4)) return false;
    const size_t n = U32(b, at);
    if (n < 4 || !has(n)) return false;
    at += n;
  }
  for (unsigned text = 0x4; text <= 0x40; text <<= 1) {  // name, relative path, folder, arguments, icon
    if (!(flags & text)) continue;
    if (!has(2)) return false;
    const size_t n = 2 + U16(b, at) * ((flags & 0x80) ? 2u : 1u);
    if (!has(n)) return false;
    at += n;
  }
  for (;;) {  // extra blocks, up to the one shorter than four bytes
    if (!has(4)) return false;
    const size_t n = U32(b, at);
    if (n < 4) {
      at += 4;
      return true;
    }
    if (!has(n)) return false;
    at += n;
  }
}

bool SkipShortcuts(const std::string& b, size_t& at, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    if (b.size() - at < 16 || std::memcmp(b.data() + at, kShellLinkClass, 16) != 0) return false;
    at += 16;
    if (!SkipShellLink(b, at)) return false;
  }
  return true;
}

bool ReadCategories(const std::string& b, CustomList& list) {
  if (b.size() < 12 || U32(b, 0) != 2) return false;
  const unsigned categories = U32(b, 4);
  size_t at = 12;
  for (unsigned c = 0; c < categories; ++c) {
    if (b.size() - at < 8) return false;
    const unsigned type = U32(b, at);
    at += 4;
    if (type == 0) {  // the application's own: a name, then its shortcuts
      const size_t name = 2 + 2 * static_cast<size_t>(U16(b, at));
      if (b.size() - at < name + 4) return false;
      at += name;
      const unsigned n = U32(b, at);
      at += 4;
      if (!SkipShortcuts(b, at, n)) return false;
      list.ownEntries += n;
    } else if (type == 1) {  // Recent or Frequent, kept in the automatic list
      at += 4;
    } else if (type == 2) {  // tasks
      const unsigned n = U32(b, at);
      at += 4;
      if (!SkipShortcuts(b, at, n)) return false;
      list.tasks += n;
    } else {
      return false;
    }
    if (b.size() - at < 4 || U32(b, at) != kFooter) return false;
    at += 4;
  }
  return at == b.size();
}

}  // namespace

CustomList ReadCustomList(const std::string& path) {
  CustomList list;
  FileHandle file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  LARGE_INTEGER size = {};
  if (!file.ok() || !GetFileSizeEx(file.get(), &size) || size.QuadPart > (16 << 20)) return list;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()))
    return list;
  list.state = ReadCategories(bytes, list) ? CustomList::State::Known : CustomList::State::UnknownLayout;
  if (list.state != CustomList::State::Known) list.ownEntries = list.tasks = 0;
  return list;
}
