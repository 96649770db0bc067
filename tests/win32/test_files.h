// Files and folders for the tests, through the Win32 API of the prefix.
#pragma once
#include <windows.h>

#include <set>
#include <string>

// The whole content of a file, or "<missing>".
std::string Slurp(const std::string& path);
// Creates or replaces a file with `data`.
void Spit(const std::string& path, const std::string& data);
bool Exists(const std::string& path);
// Names of a folder's entries, without "." and "..".
std::set<std::string> Entries(const std::string& dir);
// Removes a folder and everything in it, read-only files included.
void RemoveTree(const std::string& dir);
