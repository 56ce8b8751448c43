// Exact names. The program's paths are 8-bit text in the ANSI code page, as the registry and
// the settings give them. The ANSI listing calls turn a name the code page cannot spell into
// look-alikes ("．．＼x" becomes "..\x"), so every listing is made with the wide calls, and a
// name the code page cannot spell exactly keeps each such character as "<U+XXXX>". "<" and ">"
// are never part of a Windows name, so that form stands for one name only and is never taken
// for another; every call that reaches a file turns the path back into its exact wide form.
#pragma once
#include <string>

// A listed name as the program's paths hold it: as it is when the code page spells it exactly,
// else with each character it cannot spell written as "<U+XXXX>".
std::string NarrowName(const wchar_t* name, size_t length);
std::string NarrowName(const std::wstring& name);
// The same in another code page (CP_ACP is the one above): a character whose bytes there hold
// "\", "/" or ":" (a second byte 0x5C of a double-byte code page) is written out as well.
std::string NarrowName(const wchar_t* name, size_t length, unsigned codePage);
// The exact wide form of such a path or text, "<U+XXXX>" turned back into its character.
std::wstring WideText(const std::string& text);
// The form a file call takes: WideText, and where the path is too long for the plain form,
// its "\\?\" form, so that files deeper than MAX_PATH are reached as well.
std::wstring WidePath(const std::string& path);
// The text in UTF-8 (reports, SQLite file names), "<U+XXXX>" turned back into its character.
std::string Utf8Text(const std::string& text);
// True when the text holds a character written as "<U+XXXX>".
bool HasEscapedNames(const std::string& text);
// A listed name that may be joined to a path: not empty, not "." or "..", and with no "\",
// "/" or ":" in it. A listing hands on no other.
bool SafeName(const wchar_t* name);
// path is top or lies below it, reached through names alone: it begins with top and what
// follows holds no "." or ".." step, no ":" and no "/". top ends in "\".
bool LiesInside(const std::string& path, const std::string& top);
