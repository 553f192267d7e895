#pragma once
// Where a path that is to be written really leads: every symbolic link on the way is followed as
// the kernel follows it, and "." and ".." are taken after the links, so that two spellings of
// one place give one path. A link in a sticky folder that everyone may write is followed only
// when it belongs to the caller or to the folder's owner, since anyone else may have planted it
// to redirect the write. The kernel's own rule for this (protected_symlinks) may be switched
// off and covers the last component only; here it holds for every component.

#include <optional>
#include <string>

#include "base/status.h"

namespace dovrek {

// The absolute native path with no link in it. The part of the path that does not exist is
// kept as written, its "." and ".." taken as they stand. A link of /proc whose content is no
// path (a pipe's or a socket's) is kept as it is: only the kernel can follow it. Answers
// nullopt with *failure set ("path: reason") for a link that may not be followed, naming that
// link in parentheses when it is not the path itself, and for links that loop.
std::optional<std::string> ResolvePath(const std::string& native_path, Status* failure);

// The folder part of a native path: "." without a "/", "/" for a file in the root.
std::string NativeFolderOf(const std::string& native_path);

}  // namespace dovrek
