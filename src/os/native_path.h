#pragma once
// The paths of a project and its members are held in Windows form, "\" the only separator, as
// project files write them (see SourcePath); every other path the program holds (settings,
// template, outputs, what the file dialogs answer) is native. These functions move a path across
// that border and find files the way a case-insensitive file system would.

#include <optional>
#include <string>
#include <string_view>

#include "os/folder_listings.h"

namespace dovrek {

// Every "\" turned into "/".
std::string ToNativePath(std::string_view windows_path);

// Every "/" turned into "\".
std::string ToWindowsPath(std::string_view native_path);

// A native path made absolute against the current folder (unchanged when already absolute).
std::string MakeAbsolute(std::string_view native_path);

// The path of an existing file or folder: the exact path when it exists, else the path whose
// components match ASCII-case-insensitively, the first match in byte order winning.
// nullopt when no such file exists. Folders are listed through `listings` when given (and the
// lookup made on their disk), so that many lookups in one run list each folder once; without it
// each lookup lists afresh on the real disk.
std::optional<std::string> FindExistingPath(std::string_view native_path,
                                            FolderListings* listings = nullptr);

// The folder of the running executable, native form, without a trailing "/".
std::string ProgramFolder();

}  // namespace dovrek
