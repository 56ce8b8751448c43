// The Recycle Bin as Search & Erase uses it: whether the bin of a file's drive can take the file,
// and sending one file there without letting the shell delete it for good instead.
#pragma once
#include <string>

// True when the file's drive has a Recycle Bin that keeps what it is given (a fixed drive with
// a bin, not set to remove files at once) and the bin is large enough for size bytes.
bool RecycleBinTakes(const std::string& path, unsigned long long size);

enum class RecycleOutcome { Recycled, Gone, NotTaken, Failed };
// Sends one existing file to the Recycle Bin: silent, no confirmation, no error box. A file the
// bin cannot take is left where it is (NotTaken); one that is no longer there is Gone.
RecycleOutcome RecycleOneFile(const std::string& path);
