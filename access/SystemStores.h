// Stores that Windows itself keeps and clears through calls of its own, each asked for at run
// time: the resolver's cache (dnsapi.dll) and the clipboard's history (the Windows Runtime of
// Windows 10 1809 and later).
#pragma once
#include <string>

bool DnsFlushAvailable();
// DnsFlushResolverCache; true when Windows reports it done.
bool FlushDnsResolverCache();
// What the resolver's cache holds, as one short text ("12 names, 3f09..."): the names it has
// looked up change it. "" where Windows does not tell (dnsapi.dll's DnsGetCacheDataTable).
std::string DnsCacheSeen();

enum class ClipboardHistory {
  None,         // a Windows without one (before Windows 10 1809, or one that names no such class)
  Unreachable,  // Windows 10 1809 or later, but its clipboard class cannot be reached
  Off,          // kept by no one: the user has turned it off
  On,
};
// reason, when Unreachable: what the platform answered.
ClipboardHistory ClipboardHistoryState(std::string* reason = nullptr);
// Clipboard.ClearHistory: every item of the history goes but the pinned ones, which Windows
// keeps. True when Windows reports it done.
bool ClearClipboardHistory();
